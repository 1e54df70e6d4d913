#pragma once

#include "app/commands/image_follow_up.h"
#include "link/module_transfers.h"

#include <QObject>
#include <QString>

#include <optional>

namespace tunara {
class StoredSettings;
}
namespace tunara::editor {
class TableSession;
}

namespace tunara::ui {

class CommonErrorDialog;
class DataStatus;
class ImageKeeper;
struct MainActions;
class UserInterface;
class WindowShell;

// "&Download From EEPROM", "&Upload To EEPROM" and "&Write Every Byte", with what keeps the
// user's data safe around them (restore points, the upload guard, the
// transfer guard).
class TransferCommands : public QObject, private link::TransferPrompter, private link::TransferEvents {
    Q_OBJECT
public:
    TransferCommands(ModuleData &data, editor::TableSession &session, link::ModuleProtocol &protocol,
                     CommonErrorDialog &errors, StoredSettings &settings, const MainActions &actions,
                     UserInterface &ui, WindowShell &shell, ImageKeeper &keeper, DataStatus &status,
                     ImageFollowUp followUp, QObject *parent);

    void mnuDownload_Click();
    void mnuUpload_Click();

    // The one place that knows whether a download or upload is running.
    const link::ModuleTransfers &transfers() const { return m_transfers; }

private:
    // TransferPrompter
    void showMessage(const QString &text, const QString &title, link::MessageIcon icon) override;
    bool askOkCancel(const QString &text, const QString &title) override;
    // TransferEvents
    void runningChanged(bool running) override;
    void imageAboutToBeReplaced() override;
    void downloaded(const ModuleParameters &params) override;
    void moduleContentsRead(const link::EEPROMBytes &before) override;
    QString olderImageHint() const override;
    void aboutToWrite() override;
    bool mayGoOn() override { return m_mayGoOn; }
    void finished(link::TransferCommand command, link::TransferOutcome outcome) override;

    bool confirmUnfilledTable();
    // What the upload would write other than the buffer holds it, asked
    // once for each image.
    bool confirmCheckedChanges();
    // Communications > Write Every Byte, remembered for the next run.
    void setWriteEveryByte(bool on);

    ModuleData &m_data;
    editor::TableSession &m_session;
    StoredSettings &m_settings;
    UserInterface &m_ui;
    WindowShell &m_shell;
    ImageKeeper &m_keeper;
    bool m_mayGoOn = true;  // the transfer's overwrite, after its restore point
    bool m_moduleContentsKept = false;  // this upload's "Module before upload" point
    std::optional<link::EEPROMBytes> m_acceptedChanges;  // the image whose check the user accepted
    DataStatus &m_status;
    ImageFollowUp m_followUp;
    link::ModuleTransfers m_transfers;
};

}  // namespace tunara::ui
