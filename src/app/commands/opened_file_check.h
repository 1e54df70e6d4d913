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
void showOpenedFileCheck(UserInterface &ui, QWidget *parent, const ModuleImage &image, const QString &path);

// The window's way to bring a table in from CSV, for the refusal of a file
// that is recognisably not a data file.
QString windowImportAdvice();

// A data file read and decoded as "&Open File" reads it, for a comparison;
// nothing when it cannot be read, is short or is recognisably something
// else (the user has been told).
std::optional<ModuleData> readOtherDataFile(UserInterface &ui, QWidget *parent, const QString &path,
                                            const QString &title);

}  // namespace tunara::ui
