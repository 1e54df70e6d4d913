#pragma once

#include "image/module_image.h"

#include <QLocale>
#include <QString>

#include <vector>

// What opening a data file and saving it again would change, in words, so
// the user learns it before a save or an upload does it silently.
namespace tunara::compare {

enum class CheckKind {
    LimitedParameter,   // a parameter byte the decode limits
    DroppedFlagBits,    // flag bits the encode does not keep
    BothTableFlags,     // 2D and 3D table selected together
    ReservedNotZero,    // a reserved byte the encode writes 0
    CellOutsideWindow,  // an active-table cell the editor would not keep as stored
    ZeroTableRegion,    // the active table region holds nothing but zeros
};

struct CheckItem {
    CheckKind kind;
    // True when a save writes different bytes because of it; the table
    // items change the file only once the table is edited and saved.
    bool changesFile;
    QString text;  // one line for a person
    int address;   // the image byte (the first one of a table region)
    double stored; // the value as stored (parameter units, degrees, or the byte)
    double after;  // the value as read (and, for all but table cells, as saved)
};

struct CheckReport {
    std::vector<CheckItem> items;
    // Decided on the bytes themselves: a decode and an encode of the image
    // give different bytes 16..279.
    bool resaveChangesFile = false;

    // The items a save or an upload writes differently from the image.
    std::vector<CheckItem> changesToFile() const
    {
        std::vector<CheckItem> changes;
        for (const CheckItem &item : items)
            if (item.changesFile)
                changes.push_back(item);
        return changes;
    }
};

// The image as a file open leaves it (bytes 16..279 filled, not decoded yet
// or decoded: the parameters are decoded here again). The degrees in the
// texts take the locale's decimal mark: the user's in the program's boxes.
CheckReport checkImage(const ModuleImage &image, const QLocale &locale = QLocale::c());

// The texts one per line, at most maxItems of them, then "... and N more".
QString itemListText(const std::vector<CheckItem> &items, int maxItems = 20);

// A kind as the JSON output names it ("limitedParameter", ...).
QString kindName(CheckKind kind);

}  // namespace tunara::compare
