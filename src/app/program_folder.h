#pragma once

#include <QString>

namespace tunara::ui {

// The folder the program's companion files (configuration, logo, chart
// templates, help) are looked up in: the executable's own folder when it
// holds them (a build tree, a folder copied as a whole), else the installed
// data folder beside it (`<prefix>/share/tunara` for `<prefix>/bin`), else
// the executable's folder again, so the messages about missing files name it.
QString resolveProgramFolder(const QString &executableFolder);

// The installed data folder for an executable folder (whether it exists or not).
QString installedDataFolder(const QString &executableFolder);

}  // namespace tunara::ui
