#pragma once


#include <QByteArray>
#include <QObject>
#include <QString>

#include <functional>

namespace tunara {
class ModuleDocument;
class StoredSettings;
namespace editor {
class TableSession;
}
namespace link {
class ModuleProtocol;
}
}  // namespace tunara

namespace tunara::ui {

class CommonErrorDialog;
class ImageKeeper;
class ImageReplacement;
struct MainActions;
class UserInterface;
class WindowShell;

// "&Open File", "&Save File" and "Open Restore Point...": the image to and
// from data files, with a restore point kept before an image is replaced.
class FileCommands : public QObject {
    Q_OBJECT
public:
    FileCommands(ModuleDocument &document, const editor::TableSession &session, link::ModuleProtocol &protocol,
                 CommonErrorDialog &errors, StoredSettings &settings, const MainActions &actions, UserInterface &ui,
                 WindowShell &shell, ImageKeeper &keeper, ImageReplacement &replacement, QObject *parent);

    void mnuOpenFile_Click();
    void mnuSaveFile_Click();
    void mnuOpenRestorePoint_Click();
    // "&Open File" on a given file, without the file dialog (a file named on
    // the command line, a restore point). announce false: without the
    // "Loaded" message and the parameters dialog, for a start-up open that
    // goes straight on to another window.
    void openDataFile(const QString &path, bool announce = true);

    // The file dialogs with their existence checks and prompt loops. An empty
    // result: the user closed the dialog without choosing. Throw RuntimeError
    // "Canceled File Open" / "Canceled File Save" on Cancel in the prompt.
    QString FileOpen(const QString &fileTitle, const QString &filter, const QString &notExistMessage);
    QString FileSave(const QString &fileTitle, const QString &filter, const QString &existMessage);

    static QString dataFileFilter();  // "Torvik-1 data files (*.dat)|*.dat"

signals:
    // A data file was opened or saved (for the recent files).
    void fileUsed(const QString &path);
    // A data file filled the buffer and was announced: the user sees its
    // parameters next.
    void openedToBuffer();

private:
    void openData(const QString *givenPath, bool announce = true);
    bool readWholeFile(const QString &path, QByteArray &bytes);
    QString pickFile(const std::function<QString()> &dialog);
    QString dialogFolder() const;
    void rememberChoice(const QString &path);

    ModuleDocument &m_document;
    const editor::TableSession &m_session;
    link::ModuleProtocol &m_protocol;
    CommonErrorDialog &m_errors;
    StoredSettings &m_settings;
    UserInterface &m_ui;
    WindowShell &m_shell;
    ImageKeeper &m_keeper;
    ImageReplacement &m_replacement;
    QString m_lastChosen;  // the file name last chosen in either dialog
};

}  // namespace tunara::ui
