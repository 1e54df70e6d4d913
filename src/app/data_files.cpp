// "&Open File", "&Save File" and their file dialogs.
#include "app/data_commands.h"

#include "app/compare_commands.h"
#include "app/main_window.h"
#include "app/main_parameter_dialogs.h"
#include "core/runtime_error.h"
#include "files/data_file.h"
#include "files/stored_settings.h"
#include "module/parameter_codec.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

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

QString DataCommands::dataFileFilter()
{
    return QStringLiteral("Torvik-1 data files (*.dat)|*.dat");
}

QString DataCommands::dialogFolder() const
{
    if (!m_lastChosen.isEmpty())
        return m_lastChosen;
    return m_window.context().settings.GetSetting(FolderSection, FolderKey, QString());
}

void DataCommands::rememberChoice(const QString &path)
{
    m_lastChosen = path;
    m_window.context().settings.SaveSetting(FolderSection, FolderKey, QFileInfo(path).absolutePath());
}

QString DataCommands::FileOpen(const QString &fileTitle, const QString &filter, const QString &notExistMessage)
{
    UserInterface &ui = m_window.context().ui;
    for (;;) {
        const QString path = ui.openFileName(&m_window, fileTitle, dialogFolder(), dialogFilter(filterOrAll(filter)));
        if (path.isEmpty())
            return {};
        rememberChoice(path);
        if (QFileInfo::exists(path))
            return path;
        QString prompt = path + CRLF + QStringLiteral("File not found.");
        if (!notExistMessage.isEmpty())
            prompt += CRLF + CRLF + notExistMessage;
        const Answer a = ui.messageBox(&m_window, prompt, QStringLiteral("File Open"),
                                       notExistMessage.isEmpty() ? Buttons::RetryCancel : Buttons::YesNoCancel,
                                       Icon::Exclamation);
        if (a == Answer::Yes)
            return path;
        if (a == Answer::Cancel)
            throw RuntimeError(FileOpenErrorNumber, QStringLiteral("File Open"), QStringLiteral("Canceled File Open"));
    }
}

QString DataCommands::FileSave(const QString &fileTitle, const QString &filter, const QString &existMessage)
{
    UserInterface &ui = m_window.context().ui;
    const QString question = existMessage.isEmpty() ? QStringLiteral("Replace existing file?") : existMessage;
    for (;;) {
        QString path = ui.saveFileName(&m_window, fileTitle, dialogFolder(), dialogFilter(filterOrAll(filter)));
        if (path.isEmpty())
            return {};
        // A name typed without an extension is a data file.
        if (QFileInfo(path).suffix().isEmpty())
            path += QStringLiteral(".dat");
        rememberChoice(path);
        if (!QFileInfo::exists(path) && !QFileInfo(path).isSymLink())
            return path;
        const Answer a = ui.messageBox(&m_window,
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
QString DataCommands::pickFile(const std::function<QString()> &dialog)
{
    for (;;) {
        try {
            return dialog();
        } catch (const RuntimeError &e) {
            if (m_window.errorDialog().ErrorDialog(e) != ErrorChoice::Retry)
                return {};
        }
    }
}

void DataCommands::setCaption(const QString &sourceText)
{
    m_window.setWindowTitle(m_window.MainTitle + QStringLiteral(" - ") + sourceText);
    m_dataOrigin = sourceText;
    refreshStatus();
}

void DataCommands::mnuOpenFile_Click()
{
    openData(nullptr);
}

void DataCommands::openDataFile(const QString &path)
{
    openData(&path);
}

void DataCommands::openData(const QString *givenPath)
{
    if (m_transfers.isRunning())
        return;
    UserInterface &ui = m_window.context().ui;
    if (!m_data.image.DataBufferEmpty &&
        ui.messageBox(&m_window, link::TransferText::OverwriteQuestion, OpenTitle, Buttons::OKCancel, Icon::None) !=
            Answer::OK)
        return;
    QCoreApplication::processEvents();
    const QString path = givenPath ? *givenPath : pickFile([this] {
        return FileOpen(QStringLiteral("Open File"), dataFileFilter(), QString());
    });
    // The image in hand stays until a whole file has been read.
    QByteArray bytes;
    if (path.isEmpty() || !readWholeFile(path, bytes))
        return;
    keepImageAboutToBeOverwritten(restore::Event::BeforeOpen);
    m_window.protocol().FirmwareID.clear();
    m_window.protocol().ModuleType.clear();
    m_data.image.ClearEEPROMBuffer();
    takeTableOffScreen();
    loadBytes(path, bytes);
    ui.messageBox(&m_window, QStringLiteral("Loaded %1 to buffer. Ready for editing or upload.").arg(path), OpenTitle,
                  Buttons::OK, Icon::None);
    ShowOpenedFileCheck(m_window, path);
    mnuEditModParams_Click(m_window);
}

bool DataCommands::readWholeFile(const QString &path, QByteArray &bytes)
{
    // Ignore after a read error goes on with no bytes: the short-file path.
    if (runTrapped(m_window.errorDialog(), [&] { bytes = datafile::read(path); }) == StepOutcome::Aborted)
        return false;
    if (bytes.size() < datafile::Size) {
        m_window.context().ui.messageBox(&m_window, datafile::prematureEndMessage(), OpenTitle, Buttons::OK,
                                         Icon::Exclamation);
        return false;
    }
    return true;
}

void DataCommands::loadBytes(const QString &path, const QByteArray &bytes)
{
    datafile::fillImage(bytes, m_data.image);
    m_data.image.DataBufferEmpty = false;
    UpdateParams(m_data);
    m_data.filledThisRun = {true, true};
    m_saved.markSaved(m_data);
    setUpChart3D();
    m_window.applyTableMenuRule();
    m_window.DataFileTitle = datafile::captionTitle(path);
    setCaption(m_window.DataFileTitle);
}

void DataCommands::mnuSaveFile_Click()
{
    if (m_transfers.isRunning())
        return;
    UserInterface &ui = m_window.context().ui;
    if (tableOnScreen()) {
        ui.messageBox(&m_window, QStringLiteral("You must close or save any open table before saving data to a file."),
                      SaveTitle, Buttons::OK, Icon::Exclamation);
        return;
    }
    if (m_data.image.DataBufferEmpty) {
        ui.messageBox(&m_window, QStringLiteral("Data buffer empty."), SaveTitle, Buttons::OK, Icon::Exclamation);
        return;
    }
    const QString path = pickFile([this] { return FileSave(QStringLiteral("Save File"), dataFileFilter(), QString()); });
    if (path.isEmpty())
        return;
    // The parameters go into the image only when the whole block fits; a
    // half-encoded block is never written.
    if (runTrapped(m_window.errorDialog(), [this] {
            ModuleData encoded = m_data;
            UpdateEEPROM(encoded);
            m_data.image = encoded.image;
        }) != StepOutcome::Completed)
        return;
    // A write that failed is never reported as saved, whatever the answer.
    if (runTrapped(m_window.errorDialog(), [&] { datafile::write(path, m_data.image); }) != StepOutcome::Completed)
        return;
    m_saved.markSaved(m_data);
    m_window.DataFileTitle = datafile::captionTitle(path);
    setCaption(m_window.DataFileTitle);
}

}  // namespace tunara::ui
