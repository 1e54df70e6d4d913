#pragma once

#include "image/module_image.h"

#include <QObject>
#include <QString>

#include <functional>
#include <optional>

namespace tunara {
class ModuleDocument;
namespace editor {
class TableSession;
}
namespace link {
class LinkState;
}
}  // namespace tunara

namespace tunara::ui {

class CommonErrorDialog;
class FileDialogs;
class ImageReplacement;
struct MainActions;
class UserInterface;
class WindowShell;

// "&Open File" and "&Save File": the image to and from data files, with a
// restore point kept before an image is replaced.
class FileCommands : public QObject {
    Q_OBJECT
public:
    FileCommands(ModuleDocument &document, const editor::TableSession &session, link::LinkState &link,
                 CommonErrorDialog &errors, const MainActions &actions, UserInterface &ui,
                 WindowShell &shell, ImageReplacement &replacement, FileDialogs &dialogs,
                 QObject *parent);

    void mnuOpenFile_Click();
    void mnuSaveFile_Click();
    // "&Open File" on a given file, without the file dialog (a file named on
    // the command line, a restore point). announce false: without the
    // "Loaded" message and the parameters dialog, for an open that goes
    // straight on to another window or command. True when the file filled
    // the buffer. title names the data in the caption in place of the
    // file's name (a restore point says what it holds).
    bool openDataFile(const QString &path, bool announce = true, const QString &title = QString());


    static QString dataFileFilter();  // "Torvik-1 data files (*.dat)|*.dat"

signals:
    // A data file was opened or saved (for the recent files).
    void fileUsed(const QString &path);
    // A data file filled the buffer and was announced: the user sees its
    // parameters next.
    void openedToBuffer();

private:
    bool openData(const QString *givenPath, bool announce = true, const QString &title = QString());
    std::optional<ModuleImage> loadFile(const QString &path);
    QString pickFile(const std::function<QString()> &dialog);

    ModuleDocument &m_document;
    const editor::TableSession &m_session;
    link::LinkState &m_link;
    CommonErrorDialog &m_errors;
    UserInterface &m_ui;
    WindowShell &m_shell;
    ImageReplacement &m_replacement;
    FileDialogs &m_dialogs;
};

}  // namespace tunara::ui
