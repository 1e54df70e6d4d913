#pragma once

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
class ImageKeeper;
class ImageReplacement;
struct MainActions;
class UserInterface;
class WindowShell;

// "&Download From EEPROM", "&Upload To EEPROM" and "&Write Every Byte", with what keeps the
// user's data safe around them (restore points, the upload guard, the
// transfer guard).
class TransferCommands : public QObject, private link::TransferPrompter, private link::TransferEvents {
    Q_OBJECT
public:
    TransferCommands(ModuleDocument &document, const editor::TableSession &session, link::ModuleProtocol &protocol,
                     CommonErrorDialog &errors, StoredSettings &settings, const MainActions &actions,
                     UserInterface &ui, WindowShell &shell, ImageKeeper &keeper, ImageReplacement &replacement,
                     QObject *parent);

    void mnuDownload_Click();
    void mnuUpload_Click();

signals:
    // A download filled the buffer: the user sees its parameters next.
    void downloadedToBuffer();

private:
    // TransferPrompter
    void showMessage(const QString &text, const QString &title, link::MessageIcon icon) override;
    bool askOkCancel(const QString &text, const QString &title) override;
    // TransferEvents
    void runningChanged(bool running) override;
    bool imageAboutToBeReplaced() override;
    void downloaded(const ModuleParameters &params) override;
    void moduleContentsRead(const link::EEPROMBytes &before) override;
    QString olderImageHint() const override;
    bool aboutToWrite() override;
    void finished(link::TransferCommand command, link::TransferOutcome outcome) override;

    bool confirmUnfilledTable();
    // What the upload would write other than the buffer holds it, asked
    // once for each image.
    bool confirmCheckedChanges();
    // Communications > Write Every Byte, remembered for the next run.
    void setWriteEveryByte(bool on);

    ModuleDocument &m_document;
    const editor::TableSession &m_session;
    StoredSettings &m_settings;
    UserInterface &m_ui;
    WindowShell &m_shell;
    ImageKeeper &m_keeper;
    ImageReplacement &m_replacement;
    bool m_moduleContentsKept = false;  // this upload's "Module before upload" point
    QStringList m_uploadPoints;         // the points this upload kept
    std::optional<link::EEPROMBytes> m_acceptedChanges;  // the image whose check the user accepted
    link::ModuleTransfers m_transfers;
};

}  // namespace tunara::ui
