#pragma once

#include <QString>

#include <functional>

namespace tunara::ui {

// "&Open File"'s file dialog with its existence check (title, filter): the
// path chosen, empty when the dialog was closed. Throws RuntimeError
// "Canceled File Open" on Cancel in the file-not-found question.
using OpenFileDialog = std::function<QString(const QString &title, const QString &filter)>;

}  // namespace tunara::ui
