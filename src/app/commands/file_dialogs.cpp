#include "app/commands/file_dialogs.h"

#include "app/save_path.h"
#include "app/window_shell.h"
#include "core/runtime_error.h"
#include "files/stored_settings.h"
#include "ui_port/user_interface.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace tunara::ui {

namespace {

const QString CRLF = QStringLiteral("\r\n");
// Where the file dialogs start in the next run.
const QString FolderSection = QStringLiteral("Files");
const QString FolderKey = QStringLiteral("LastFolder");
const QString CsvFolderKey = QStringLiteral("LastCsvFolder");

QString documentsOrHome()
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return !documents.isEmpty() && QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

// "Description (*.x)|*.x|..." as the file dialog takes it: the descriptions,
// which carry their patterns, separated by ";;".
QString dialogFilter(const QString &filter)
{
    const QStringList parts = filter.split(u'|');
    QStringList descriptions;
    for (qsizetype k = 0; k < parts.size(); k += 2)
        descriptions << parts[k];
    return descriptions.join(QStringLiteral(";;"));
}

QString filterOrAll(const QString &filter)
{
    return filter.isEmpty() ? QStringLiteral("All Files (*.*)|*.*") : filter;
}

}  // namespace

FileDialogs::FileDialogs(StoredSettings &settings, UserInterface &ui, WindowShell &shell,
                         const QString &restorePointFolder)
    : m_settings(settings),
      m_ui(ui),
      m_shell(shell),
      m_restorePoints(restorePointFolder)
{
}

QString FileDialogs::startFolder() const
{
    // Never the program's own folder: installed, it cannot be written. A
    // folder that is not there would reach the dialog as a name typed in.
    const QString stored = m_settings.getSetting(FolderSection, FolderKey, QString());
    if (!stored.isEmpty() && !m_restorePoints.holds(stored) && QFileInfo(stored).isDir())
        return stored;
    return documentsOrHome();
}

QString FileDialogs::csvFolder() const
{
    const QString stored = m_settings.getSetting(FolderSection, CsvFolderKey, QString());
    if (!stored.isEmpty() && !m_restorePoints.holds(stored) && QFileInfo(stored).isDir())
        return stored;
    return documentsOrHome();
}

void FileDialogs::rememberCsvFolder(const QString &chosenPath)
{
    const QString folder = QFileInfo(chosenPath).absolutePath();
    if (!m_restorePoints.holds(folder))
        m_settings.saveSetting(FolderSection, CsvFolderKey, folder);
}

QString FileDialogs::dialogFolder() const
{
    return m_lastChosen.isEmpty() ? startFolder() : m_lastChosen;
}

void FileDialogs::rememberFolder(const QString &chosenPath)
{
    const QString folder = QFileInfo(chosenPath).absolutePath();
    if (!m_restorePoints.holds(folder))
        m_settings.saveSetting(FolderSection, FolderKey, folder);
}

QString FileDialogs::askExportPath(const QString &title, const QString &filter, const QString &extension,
                                   QString *chosenFilter, const QString &startIn)
{
    const QString path = askSavePath(m_ui, m_shell.dialogParent(), title, startIn.isEmpty() ? startFolder() : startIn,
                                     filter, extension, chosenFilter);
    if (!path.isEmpty())
        rememberFolder(path);
    return path;
}

void FileDialogs::rememberChoice(const QString &path)
{
    if (m_restorePoints.holds(QFileInfo(path).absolutePath()))
        return;
    m_lastChosen = path;
    rememberFolder(path);
}

QString FileDialogs::FileOpen(const QString &fileTitle, const QString &filter, const QString &notExistMessage,
                              const QString &startAt)
{
    UserInterface &ui = m_ui;
    QWidget *const parent = m_shell.dialogParent();
    for (;;) {
        const QString path = ui.openFileName(parent, fileTitle, startAt.isEmpty() ? dialogFolder() : startAt,
                                             dialogFilter(filterOrAll(filter)));
        if (path.isEmpty())
            return {};
        rememberChoice(path);
        if (QFileInfo::exists(path))
            return path;
        QString prompt = path + CRLF + QStringLiteral("File not found.");
        if (!notExistMessage.isEmpty())
            prompt += CRLF + CRLF + notExistMessage;
        const Answer a =
            ui.messageBox(parent, prompt, QStringLiteral("File Open"),
                          notExistMessage.isEmpty() ? Buttons::RetryCancel : Buttons::YesNoCancel, Icon::Exclamation);
        if (a == Answer::Yes)
            return path;
        if (a == Answer::Cancel)
            throw RuntimeError(FileOpenErrorNumber, QStringLiteral("File Open"), QStringLiteral("Canceled File Open"));
    }
}

QString FileDialogs::FileSave(const QString &fileTitle, const QString &filter, const QString &existMessage)
{
    UserInterface &ui = m_ui;
    QWidget *const parent = m_shell.dialogParent();
    const QString question = existMessage.isEmpty() ? QStringLiteral("Replace existing file?") : existMessage;
    for (;;) {
        QString path = ui.saveFileName(parent, fileTitle, dialogFolder(), dialogFilter(filterOrAll(filter)));
        if (path.isEmpty())
            return {};
        // A name typed without an extension is a data file.
        if (QFileInfo(path).suffix().isEmpty())
            path += QStringLiteral(".dat");
        rememberChoice(path);
        if (!QFileInfo::exists(path) && !QFileInfo(path).isSymLink())
            return path;
        const Answer a =
            ui.messageBox(parent, path + CRLF + QStringLiteral("This file already exists.") + CRLF + CRLF + question,
                          QStringLiteral("File Save"), Buttons::YesNoCancel, Icon::Exclamation);
        if (a == Answer::Yes)
            return path;
        if (a == Answer::Cancel)
            throw RuntimeError(FileSaveErrorNumber, QStringLiteral("File Save"), QStringLiteral("Canceled File Save"));
    }
}

}  // namespace tunara::ui
