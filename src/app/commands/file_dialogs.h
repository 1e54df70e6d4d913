#pragma once

#include "files/restore_points.h"

#include <QString>

namespace tunara {
class StoredSettings;
}

namespace tunara::ui {

class UserInterface;
class WindowShell;

// The file dialogs every file command shares, with their existence checks
// and prompt loops. They start in the folder last chosen in either dialog
// (also in the next run), and in the documents folder on a fresh account;
// a file chosen among the restore points never makes their hidden folder
// the one the dialogs start in.
class FileDialogs {
public:
    FileDialogs(StoredSettings &settings, UserInterface &ui, WindowShell &shell, const QString &restorePointFolder);

    // Where a dialog with no file of its own to offer starts: the folder
    // last used (also in an earlier run) while it exists, else the documents
    // folder, else the home folder; never the program's own folder. Always a
    // folder that exists, so the dialog types no name in for the user.
    QString startFolder() const;
    // Asks for the file an export writes (a PDF report, a CSV table) with
    // the save dialog, starting in `startIn` (empty: startFolder()); the
    // folder of the file chosen is where the next dialog starts. See
    // askSavePath() for the extension, the replace question and the chosen
    // filter. Empty when the user cancelled or kept an existing file.
    QString askExportPath(const QString &title, const QString &filter, const QString &extension,
                          QString *chosenFilter = nullptr, const QString &startIn = QString());
    // Where a CSV dialog starts: the folder of the last CSV file imported or
    // exported while it exists, else the documents folder (else home), never
    // on a data file's name.
    QString csvFolder() const;
    void rememberCsvFolder(const QString &chosenPath);

    // An empty result: the user closed the dialog without choosing. Throw
    // RuntimeError "Canceled File Open" / "Canceled File Save" on Cancel in
    // the prompt. `filter` is "Description (*.x)|*.x|...", empty for all files.
    // `startAt`, when given, is where the dialog starts instead of the last
    // file chosen.
    QString FileOpen(const QString &fileTitle, const QString &filter, const QString &notExistMessage,
                     const QString &startAt = QString());
    QString FileSave(const QString &fileTitle, const QString &filter, const QString &existMessage);

private:
    QString dialogFolder() const;
    void rememberFolder(const QString &chosenPath);
    void rememberChoice(const QString &path);

    StoredSettings &m_settings;
    UserInterface &m_ui;
    WindowShell &m_shell;
    restore::RestorePoints m_restorePoints;
    QString m_lastChosen;  // the file name last chosen in either dialog
};

}  // namespace tunara::ui
