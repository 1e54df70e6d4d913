#pragma once

#include "files/restore_points.h"
#include "files/saved_state.h"
#include "link/module_transfers.h"

#include <QObject>
#include <QString>

class QLabel;

namespace tunara::ui {

class ElidedLabel;

class frmTunara_Main;

// The commands that move the image between the program, the module and data
// files: "&Download From EEPROM", "&Upload To EEPROM", "&Open File", "&Save
// File" and "Open Restore Point...", with what keeps the user's data safe
// around them (restore points, the unsaved-work question, the upload guard,
// the transfer guard) and the status bar that tells where the image stands.
class DataCommands : public QObject, private link::TransferPrompter, private link::TransferEvents {
    Q_OBJECT
public:
    explicit DataCommands(frmTunara_Main &window);

    void mnuDownload_Click();
    void mnuUpload_Click();
    void mnuOpenFile_Click();
    void mnuSaveFile_Click();
    void mnuOpenRestorePoint_Click();
    // "&Open File" on a given file, without the file dialog (a file named on
    // the command line, a restore point).
    void openDataFile(const QString &path);

    // The file dialogs with their existence checks and prompt loops. An empty
    // result: the user closed the dialog without choosing. Throw RuntimeError
    // "Canceled File Open" / "Canceled File Save" on Cancel in the prompt.
    QString FileOpen(const QString &fileTitle, const QString &filter, const QString &notExistMessage);
    QString FileSave(const QString &fileTitle, const QString &filter, const QString &existMessage);

    // The one place that knows whether a download or upload is running.
    const link::ModuleTransfers &transfers() const { return m_transfers; }
    // The exit's second question: false when the user wants to stay because
    // the image holds work that was neither saved nor uploaded.
    bool confirmExitWithUnsavedWork();
    bool hasUnsavedWork() const { return m_saved.hasUnsavedWork(m_data); }
    const restore::RestorePoints &restorePoints() const { return m_restorePoints; }

    // Port, firmware, where the image came from, table mode.
    void refreshStatus();

    static QString dataFileFilter();  // "Torvik-1 data files (*.dat)|*.dat"

private:
    // TransferPrompter
    void showMessage(const QString &text, const QString &title, link::MessageIcon icon) override;
    bool askOkCancel(const QString &text, const QString &title) override;
    // TransferEvents
    void runningChanged(bool running) override;
    void imageAboutToBeReplaced() override;
    void imageCleared() override;
    void downloaded(const ModuleParameters &params) override;
    void moduleContentsRead(const link::EEPROMBytes &before) override;
    void aboutToWrite() override;
    void finished(link::TransferCommand command, link::TransferOutcome outcome) override;
    void openModuleParameters();
    void setUpChart3D();

    // Is a timing table on the screen (a grid or a chart shown)?
    bool tableOnScreen() const;
    // Hides both charts and both grids.
    void takeTableOffScreen();
    bool confirmUnfilledTable();
    void openData(const QString *givenPath);
    bool readWholeFile(const QString &path, QByteArray &bytes);
    void loadBytes(const QString &path, const QByteArray &bytes);
    void setWriteEveryByte(bool on);
    QString pickFile(const std::function<QString()> &dialog);
    QString dialogFolder() const;
    void rememberChoice(const QString &path);
    void setCaption(const QString &sourceText);
    QByteArray imageBytes() const;
    void keepRestorePoint(restore::Event event, const QByteArray &bytes);
    void keepImageAboutToBeOverwritten(restore::Event event);
    void createStatusBar();

    frmTunara_Main &m_window;
    ModuleData &m_data;
    link::ModuleTransfers m_transfers;
    restore::RestorePoints m_restorePoints;
    SavedState m_saved;
    QString m_lastChosen;  // the file name last chosen in either dialog
    ElidedLabel *m_statusPort = nullptr;
    // Where the image came from, as the caption named it when it came: a
    // wizard resets the caption, but not the data's origin.
    QString m_dataOrigin;
    QLabel *m_statusFirmware = nullptr;
    QLabel *m_statusSource = nullptr;
    QLabel *m_statusTable = nullptr;
};

}  // namespace tunara::ui
