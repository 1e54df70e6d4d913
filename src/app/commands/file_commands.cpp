#include "app/commands/file_commands.h"

#include "app/commands/image_keeper.h"
#include "app/commands/image_replacement.h"
#include "app/commands/opened_file_check.h"
#include "app/commands/unsaved_table_note.h"
#include "app/main_actions.h"
#include "app/window_shell.h"
#include "core/runtime_error.h"
#include "dialogs/error_dialog.h"
#include "dialogs/restore_point_dialog.h"
#include "editor/table_session.h"
#include "files/data_file.h"
#include "files/stored_settings.h"
#include "link/module_protocol.h"
#include "link/module_transfers.h"
#include "module/module_document.h"
#include "module/parameter_codec.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace tunara::ui {

namespace {

const QString OpenTitle = QStringLiteral("Open Data File");
const QString SaveTitle = QStringLiteral("Save Data File");
const QString CRLF = QStringLiteral("\r\n");
// Where the file dialogs start in the next run.
const QString FolderSection = QStringLiteral("Files");
const QString FolderKey = QStringLiteral("LastFolder");

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

FileCommands::FileCommands(ModuleDocument &document, const editor::TableSession &session,
                           link::ModuleProtocol &protocol, CommonErrorDialog &errors, StoredSettings &settings,
                           const MainActions &actions, UserInterface &ui, WindowShell &shell, ImageKeeper &keeper,
                           ImageReplacement &replacement, QObject *parent)
    : QObject(parent),
      m_document(document),
      m_session(session),
      m_protocol(protocol),
      m_errors(errors),
      m_settings(settings),
      m_ui(ui),
      m_shell(shell),
      m_keeper(keeper),
      m_replacement(replacement)
{
    connect(actions.openFile, &QAction::triggered, this, &FileCommands::mnuOpenFile_Click);
    connect(actions.saveFile, &QAction::triggered, this, &FileCommands::mnuSaveFile_Click);
    connect(actions.openRestorePoint, &QAction::triggered, this, &FileCommands::mnuOpenRestorePoint_Click);
}

QString FileCommands::dataFileFilter()
{
    return QStringLiteral("Torvik-1 data files (*.dat)|*.dat");
}

QString FileCommands::dialogFolder() const
{
    if (!m_lastChosen.isEmpty())
        return m_lastChosen;
    // Never the program's own folder: installed, it cannot be written.
    const QString stored = m_settings.GetSetting(FolderSection, FolderKey, QString());
    return stored.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) : stored;
}

void FileCommands::rememberChoice(const QString &path)
{
    m_lastChosen = path;
    m_settings.SaveSetting(FolderSection, FolderKey, QFileInfo(path).absolutePath());
}

QString FileCommands::FileOpen(const QString &fileTitle, const QString &filter, const QString &notExistMessage)
{
    UserInterface &ui = m_ui;
    QWidget *const parent = m_shell.dialogParent();
    for (;;) {
        const QString path = ui.openFileName(parent, fileTitle, dialogFolder(), dialogFilter(filterOrAll(filter)));
        if (path.isEmpty())
            return {};
        rememberChoice(path);
        if (QFileInfo::exists(path))
            return path;
        QString prompt = path + CRLF + QStringLiteral("File not found.");
        if (!notExistMessage.isEmpty())
            prompt += CRLF + CRLF + notExistMessage;
        const Answer a = ui.messageBox(parent, prompt, QStringLiteral("File Open"),
                                       notExistMessage.isEmpty() ? Buttons::RetryCancel : Buttons::YesNoCancel,
                                       Icon::Exclamation);
        if (a == Answer::Yes)
            return path;
        if (a == Answer::Cancel)
            throw RuntimeError(FileOpenErrorNumber, QStringLiteral("File Open"), QStringLiteral("Canceled File Open"));
    }
}

QString FileCommands::FileSave(const QString &fileTitle, const QString &filter, const QString &existMessage)
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
        const Answer a = ui.messageBox(parent,
                                       path + CRLF + QStringLiteral("This file already exists.") + CRLF + CRLF + question,
                                       QStringLiteral("File Save"), Buttons::YesNoCancel, Icon::Exclamation);
        if (a == Answer::Yes)
            return path;
        if (a == Answer::Cancel)
            throw RuntimeError(FileSaveErrorNumber, QStringLiteral("File Save"), QStringLiteral("Canceled File Save"));
    }
}

// A cancellation raised by a dialog procedure is shown by the common error
// dialog: Retry opens the dialog again, Ignore and Abort end the command.
QString FileCommands::pickFile(const std::function<QString()> &dialog)
{
    for (;;) {
        try {
            return dialog();
        } catch (const RuntimeError &e) {
            if (m_errors.ErrorDialog(e) != ErrorChoice::Retry)
                return {};
        }
    }
}

void FileCommands::mnuOpenFile_Click()
{
    openData(nullptr);
}

void FileCommands::openDataFile(const QString &path, bool announce)
{
    openData(&path, announce);
}

void FileCommands::openData(const QString *givenPath, bool announce)
{
    UserInterface &ui = m_ui;
    QWidget *const parent = m_shell.dialogParent();
    if (!m_document.isEmpty() &&
        ui.messageBox(parent, link::TransferText::OverwriteQuestion + UnsavedTableEditsNote(m_session), OpenTitle,
                      Buttons::OKCancel, Icon::None) != Answer::OK)
        return;
    QCoreApplication::processEvents();
    const QString path = givenPath ? *givenPath : pickFile([this] {
        return FileOpen(QStringLiteral("Open File"), dataFileFilter(), QString());
    });
    // The image in hand stays until a whole file has been read.
    QByteArray bytes;
    if (path.isEmpty() || !readWholeFile(path, bytes))
        return;
    if (!m_replacement.prepare(restore::Event::BeforeOpen))
        return;
    m_protocol.FirmwareID.clear();
    m_protocol.ModuleType.clear();
    ModuleImage image;
    image.ClearEEPROMBuffer();
    datafile::fillImage(bytes, image);
    m_document.replaceImage(image, DataSource::file(path, datafile::captionTitle(path)));
    emit fileUsed(path);
    if (!announce) {
        ShowOpenedFileCheck(ui, parent, m_document.image(), path);
        return;
    }
    ui.messageBox(parent, QStringLiteral("Loaded %1 to buffer. Ready for editing or upload.").arg(path), OpenTitle,
                  Buttons::OK, Icon::None);
    ShowOpenedFileCheck(ui, parent, m_document.image(), path);
    emit openedToBuffer();
}

bool FileCommands::readWholeFile(const QString &path, QByteArray &bytes)
{
    // Ignore after a read error goes on with no bytes: the short-file path.
    datafile::FileStart start;
    if (runTrapped(m_errors, [&] { start = datafile::readStart(path); }) == StepOutcome::Aborted)
        return false;
    if (start.otherKind) {
        m_ui.messageBox(m_shell.dialogParent(), NotADataFileText(path, *start.otherKind), OpenTitle, Buttons::OK,
                        Icon::Exclamation);
        return false;
    }
    bytes = start.bytes;
    if (bytes.size() < datafile::Size) {
        m_ui.messageBox(m_shell.dialogParent(), datafile::prematureEndMessage(), OpenTitle, Buttons::OK,
                        Icon::Exclamation);
        return false;
    }
    return true;
}

void FileCommands::mnuSaveFile_Click()
{
    UserInterface &ui = m_ui;
    QWidget *const parent = m_shell.dialogParent();
    if (m_session.isOpen()) {
        ui.messageBox(parent, QStringLiteral("You must close or save any open table before saving data to a file."),
                      SaveTitle, Buttons::OK, Icon::Exclamation);
        return;
    }
    if (m_document.isEmpty()) {
        ui.messageBox(parent, QStringLiteral("Data buffer empty."), SaveTitle, Buttons::OK, Icon::Exclamation);
        return;
    }
    const QString path = pickFile([this] { return FileSave(QStringLiteral("Save File"), dataFileFilter(), QString()); });
    if (path.isEmpty())
        return;
    // The parameters go into the image only when the whole block fits; a
    // half-encoded block is never written.
    if (runTrapped(m_errors, [this] {
            ModuleData encoded = m_document.data();
            UpdateEEPROM(encoded);
            m_document.edit()->image = encoded.image;
        }) != StepOutcome::Completed)
        return;
    // A write that failed is never reported as saved, whatever the answer.
    if (runTrapped(m_errors, [&] { datafile::write(path, m_document.image()); }) != StepOutcome::Completed)
        return;
    m_document.markSaved();
    m_document.setSource(DataSource::file(path, datafile::captionTitle(path)));
    emit fileUsed(path);
}

void FileCommands::mnuOpenRestorePoint_Click()
{
    const QList<restore::Entry> entries = m_keeper.restorePoints().list();
    if (entries.isEmpty()) {
        m_ui.messageBox(m_shell.dialogParent(),
                        QStringLiteral("No restore points have been kept yet in %1.")
                            .arg(m_keeper.restorePoints().folder()),
                        QStringLiteral("Open Restore Point"), Buttons::OK, Icon::Information);
        return;
    }
    RestorePointDialog dialog(entries, m_shell.dialogParent());
    if (m_ui.showModal(dialog) != QDialog::Accepted || dialog.chosenPath().isEmpty())
        return;
    openDataFile(dialog.chosenPath());
}

}  // namespace tunara::ui
