#include "app/program_folder.h"

#include <QDir>
#include <QFileInfo>

#ifndef TUNARA_DATA_FROM_BIN
#error "TUNARA_DATA_FROM_BIN (the data folder relative to the program's) is set by the build"
#endif

namespace tunara::ui {

namespace {

// Any one of these marks a folder that holds the companion files; the
// configuration file alone is optional and may have been taken away.
bool holdsCompanionFiles(const QDir &folder)
{
    for (const char *name : {"Tunara_Kelm_Help/index.html", "Torvik_2D_Timing_Chart.oc2", "Tunara_Kelm.cfg"}) {
        if (QFileInfo::exists(folder.filePath(QLatin1String(name))))
            return true;
    }
    return false;
}

}  // namespace

QString installedDataFolder(const QString &executableFolder)
{
    return QDir::cleanPath(QDir(executableFolder).filePath(QStringLiteral(TUNARA_DATA_FROM_BIN)));
}

QString resolveProgramFolder(const QString &executableFolder)
{
    if (holdsCompanionFiles(QDir(executableFolder)))
        return executableFolder;
    const QString installed = installedDataFolder(executableFolder);
    if (holdsCompanionFiles(QDir(installed)))
        return installed;
    return executableFolder;
}

}  // namespace tunara::ui
