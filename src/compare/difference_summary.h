#pragma once

#include "compare/image_diff.h"

#include <QLocale>
#include <QString>

#include <vector>

// How far one configuration lies from another in the few numbers a list of
// restore points shows: the parameters that differ, the cells of the timing
// table the module runs and the largest change of those cells.
namespace tunara::compare {

struct DifferenceSummary {
    int parameters = 0;
    // Cells of the table either side runs (the 3D map when it selects both),
    // with their largest change in degrees.
    int cells = 0;
    double largest = 0;
    // Bytes that differ besides: cells of a table neither side runs, bytes
    // carried through unread.
    int otherBytes = 0;

    bool same() const { return parameters == 0 && cells == 0 && otherBytes == 0; }
    // "2 parameters, 14 cells, up to 2.5°", "1 parameter, 3 other bytes", "same";
    // the degrees with the locale's decimal mark ("up to 2,5°" in French).
    QString text(const QLocale &locale = QLocale::c()) const;
};

// The differences from `from` to `to` (both decoded from their images),
// counted as above.
DifferenceSummary summarise(const ImageDiff &diff, const ModuleData &from, const ModuleData &to);

// The cells counted as the table's: those of the table `to` runs, or of
// the one `from` runs when `to` runs none. is3D says which table they are.
std::vector<CellDifference> runningCells(const ImageDiff &diff, const ModuleData &from, const ModuleData &to,
                                         bool *is3D = nullptr);

// A parameter's change as a list shows it: "RetardComp: 0 (0.0000 deg) -> 4 (0.3516 deg)".
QString parameterChangeText(const ParameterDifference &change);

}  // namespace tunara::compare
