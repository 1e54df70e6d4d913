#pragma once

#include <QString>

class QWidget;

namespace tunara::ui {

class UserInterface;

// Asks for a file to write with the save dialog, starting in `folder`; a
// name typed without an extension gets `extension` (".csv", ".pdf"). An
// existing file is replaced only after a Yes. Empty when the user cancelled
// or kept the old file. chosenFilter, when given, receives the file type
// the user picked.
QString askSavePath(UserInterface &ui, QWidget *owner, const QString &title, const QString &folder,
                    const QString &filter, const QString &extension, QString *chosenFilter = nullptr);

}  // namespace tunara::ui
