#pragma once

#include "module/module_data.h"

#include <QString>

#include <optional>

class QWidget;

namespace tunara::ui {

class UserInterface;

// After a data file is opened: when the program reads some of what it
// stores differently (checkImage), one message says what, at most 20 items
// and the count of the rest.
void ShowOpenedFileCheck(UserInterface &ui, QWidget *parent, const ModuleImage &image, const QString &path);

// A data file read and decoded as "&Open File" reads it, for a comparison;
// nothing when it cannot be read or is short (the user has been told).
std::optional<ModuleData> ReadOtherDataFile(UserInterface &ui, QWidget *parent, const QString &path,
                                            const QString &title);

}  // namespace tunara::ui
