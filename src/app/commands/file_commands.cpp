#include "app/commands/file_commands.h"

#include "app/commands/file_dialogs.h"
#include "app/commands/image_replacement.h"
#include "app/commands/opened_file_check.h"
#include "app/commands/unsaved_table_note.h"
#include "app/main_actions.h"
#include "app/window_shell.h"
#include "core/runtime_error.h"
#include "dialogs/error_dialog.h"
#include "editor/table_session.h"
#include "files/data_file.h"
#include "link/link_state.h"
#include "link/module_transfers.h"
#include "module/module_document.h"
#include "module/parameter_codec.h"

#include <QAction>
#include <QCoreApplication>

namespace tunara::ui {

namespace {

const QString OpenTitle = QStringLiteral("Open Data File");
const QString SaveTitle = QStringLiteral("Save Data File");

}  // namespace

FileCommands::FileCommands(ModuleDocument &document, const editor::TableSession &session,
                           link::LinkState &link, CommonErrorDialog &errors, const MainActions &actions, UserInterface &ui, WindowShell &shell,
                           ImageReplacement &replacement, FileDialogs &dialogs, QObject *parent)
    : QObject(parent),
      m_document(document),
      m_session(session),
      m_link(link),
      m_errors(errors),
      m_ui(ui),
      m_shell(shell),
      m_replacement(replacement),
      m_dialogs(dialogs)
{
    connect(actions.openFile, &QAction::triggered, this, &FileCommands::mnuOpenFile_Click);
    connect(actions.saveFile, &QAction::triggered, this, &FileCommands::mnuSaveFile_Click);
}

QString FileCommands::dataFileFilter()
{
    return QStringLiteral("Torvik-1 data files (*.dat)|*.dat");
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

bool FileCommands::openDataFile(const QString &path, bool announce, const QString &title)
{
    return openData(&path, announce, title);
}

bool FileCommands::openData(const QString *givenPath, bool announce, const QString &title)
{
    UserInterface &ui = m_ui;
    QWidget *const parent = m_shell.dialogParent();
    if (!m_document.isEmpty() &&
        ui.messageBox(parent, link::TransferText::OverwriteQuestion + unsavedTableEditsNote(m_session), OpenTitle,
                      Buttons::OKCancel, Icon::None) != Answer::OK)
        return false;
    QCoreApplication::processEvents();
    const QString path = givenPath ? *givenPath : pickFile([this] {
        return m_dialogs.FileOpen(QStringLiteral("Open File"), dataFileFilter(), QString());
    });
    // The image in hand stays until a whole file has been read.
    const std::optional<ModuleImage> image = path.isEmpty() ? std::nullopt : loadFile(path);
    if (!image)
        return false;
    if (!m_replacement.prepare(restore::Event::BeforeOpen))
        return false;
    m_link.forgetModule();
    m_document.replaceImage(*image, DataSource::file(path, title.isEmpty() ? datafile::captionTitle(path) : title));
    emit fileUsed(path);
    if (!announce) {
        showOpenedFileCheck(ui, parent, m_document.image(), path);
        return true;
    }
    ui.messageBox(parent, QStringLiteral("Loaded %1 to buffer. Ready for editing or upload.").arg(path), OpenTitle,
                  Buttons::OK, Icon::None);
    showOpenedFileCheck(ui, parent, m_document.image(), path);
    emit openedToBuffer();
    return true;
}

std::optional<ModuleImage> FileCommands::loadFile(const QString &path)
{
    // The Error box has named why the file cannot be read; Ignore has no
    // bytes to go on with, and a short-file message after it would blame
    // the file's length instead.
    datafile::Loaded loaded;
    if (runTrapped(m_errors, [&] {
            loaded = datafile::load(path, windowImportAdvice());
            if (loaded.error)
                throw *loaded.error;
        }) != StepOutcome::Completed)
        return std::nullopt;
    if (!loaded.ok()) {
        m_ui.messageBox(m_shell.dialogParent(), loaded.refusal, OpenTitle, Buttons::OK, Icon::Exclamation);
        return std::nullopt;
    }
    return loaded.data.image;
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
    const QString path = pickFile([this] { return m_dialogs.FileSave(QStringLiteral("Save File"), dataFileFilter(), QString()); });
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
    // Still the image its module sent: the report and the status bar keep
    // naming that module's firmware.
    DataSource saved = DataSource::file(path, datafile::captionTitle(path));
    saved.firmware = m_document.source().firmware;
    m_document.setSource(saved);
    emit fileUsed(path);
}

}  // namespace tunara::ui
