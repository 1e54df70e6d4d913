#pragma once

#include "dialogs/error_dialog.h"
#include "app/main_actions.h"
#include "app/window_shell.h"
#include "app/commands/copy_buffer.h"
#include "app/commands/table_views.h"
#include "ui_port/user_interface.h"
#include "files/config_file.h"
#include "module/module_document.h"
#include "link/line_error_handler.h"

#include <QMainWindow>

#include <functional>
#include <memory>

namespace tunara::views {
class Chart2DView;
class Chart3DView;
class TimingGrid;
}  // namespace tunara::views

namespace tunara {
class StoredSettings;
namespace editor {
class TableSession;
}
namespace link {
class LinkClock;
class LinkThread;
class ModuleProtocol;
class SerialPort;
}  // namespace link
}  // namespace tunara

namespace tunara::ui {

class BusyGate;
class CompareCommands;
class ReportCommands;
class DataStatus;
class HistoryCommands;
class FileCommands;
class FileDialogs;
class ImageKeeper;
class ImageReplacement;
class ParameterCommands;
class PortSetupPanel;
class ProgressFrame;
class TableCommands;
class TransferCommands;

// What the main window works with; all of it outlives the window.
struct MainWindowContext {
    UserInterface &ui;
    ModuleDocument &document;    // the program-wide image, parameters and tables
    StoredSettings &settings;    // the per-user store ("CommPort", port overrides)
    link::SerialPort &port;
    QString programFolder;       // configuration, templates and help live here
    config::CompanyConfig company;  // SplashSettings and CompanyInfo, read by the splash
    // "Com<n>" explained: the host device a port number stands for here.
    std::function<QString(int)> describePort;
    // Where restore points are kept; empty: the per-user data folder.
    QString restorePointFolder;
    // The time the link's pauses and reply deadlines run on; null: the machine's.
    link::LinkClock *clock = nullptr;
    // The thread the link's operations run on; null: the window's own (the
    // tests on virtual time).
    link::LinkThread *linkThread = nullptr;
};

// The program's one document window.
class frmTunara_Main : public QMainWindow, public WindowShell, private link::LineErrorPrompter {
    Q_OBJECT
public:
    static QString designCaption();  // "Tunara Torvik Zoruro Version 1.0"

    explicit frmTunara_Main(MainWindowContext context, QWidget *parent = nullptr);
    ~frmTunara_Main() override;

    // Puts the program into its start-up state (run once, before showing).
    void Form_Load();
    // Lays out the table views and resets the serial line; run on every
    // resize and on minimise/restore, and by the table editor after it
    // shows a view.
    void Form_Resize();
    // Sees every key of the window's controls first (key preview) and acts
    // on Esc only; no key is consumed, each still reaches its control.
    void Form_KeyPress(int keyAscii);
    // cancel set to true keeps the window open.
    void Form_QueryUnload(bool &cancel);
    void Form_Unload();

    void mnuExit_Click();
    void mnuAbout_Click();
    void mnuHelpContents_Click();
    void mnuPortSetup_Click();
    void cboPort_Click();
    void cmdPortSelectOK_Click();

    // The About text for a CompanyInfo list.
    static QString aboutText(const QStringList &companyInfo);
    static QString copyrightLine();
    // The help's contents page in the program folder.
    static QString helpContentsPath(const QString &programFolder);

    // WindowShell
    QWidget *dialogParent() override { return this; }
    QString mainTitle() const override { return m_mainTitle; }
    void showMainTitle() override;
    void showDataSource(const QString &source) override;
    void showStatusMessage(const QString &text) override;
    void clearStatusMessage() override;
    void layOutViews() override { Form_Resize(); }
    // True while a download or upload runs: the busy gate turns away
    // everything else that would touch the image, the port or the open table.
    bool transferRunning() const override;
    void setBusy(bool busy) override;

    // The window's parts and commands, as the tests and the start-up reach
    // them; the commands themselves are handed what they use.
    link::ModuleProtocol &protocol() { return *m_protocol; }
    link::LineErrorHandler &lineErrors() { return *m_lineErrors; }
    // The menu bar's and the grid pop-up menus' items.
    const MainActions &actions() const { return m_actions; }

    views::Chart2DView *chart2D() const { return m_chart2D; }
    views::Chart3DView *chart3D() const { return m_chart3D; }
    views::TimingGrid *grid2D() const { return m_grid2D; }
    views::TimingGrid *grid3D() const { return m_grid3D; }
    PortSetupPanel *portPanel() const { return m_portPanel; }
    ProgressFrame *progressFrame() const { return m_progress; }
    // The timing table editor: its commands, model and views.
    TableCommands *tableCommands() const { return m_tableCommands; }

    bool isTableOpen() const;
    // The table menus follow the table mode: "&New Timing Table" always on,
    // edit, save and close only while a 2D or 3D table is selected. Runs on
    // every table mode the document announces.
    void applyTableMenuRule();
    // The program's data, which announces its changes.
    ModuleDocument &document() { return m_ctx.document; }
    // The open table: the one answer to whether a table is open, and which.
    editor::TableSession &session() { return *m_session; }
    // What the grids copied last.
    CopyState &clip();
    ParameterCommands &parameterCommands() { return *m_parameterCommands; }

    // Open and save, restore points, the unsaved-work question and the
    // status bar.
    FileCommands &fileCommands() { return *m_fileCommands; }
    ImageKeeper &imageKeeper() { return *m_keeper; }
    DataStatus &dataStatus() { return *m_dataStatus; }
    // File > Tune History and its window.
    HistoryCommands &historyCommands() { return *m_historyCommands; }
    CompareCommands &compareCommands() { return *m_compareCommands; }
    ReportCommands &reportCommands() { return *m_reportCommands; }

protected:
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    link::LineErrorChoice askLineError(const QString &text, const QString &title) override;

    void createControls();
    void placeProgressFrame();
    void connectCommands();
    void applySerialSettings();
    void loadChartTemplates2D();
    void loadChartTemplates3D();
    void reportTemplate(bool loaded, const QString &fileName, const QString &why, bool missing);
    void layoutViews(double outerWidthTwips, double outerHeightTwips);
    double twipsPerPixel() const;
    QString programFile(const QString &name) const;
    void setUpDataCommands();
    void followDocument();
    TableViews tableViews() const;

    MainWindowContext m_ctx;
    CommonErrorDialog m_errorDialog;
    std::unique_ptr<link::ModuleProtocol> m_protocol;
    link::LineErrorHandler *m_lineErrors = nullptr;
    MainActions m_actions;
    std::unique_ptr<CopyBuffer> m_copy;
    QString m_mainTitle;      // the caption's base: company and design caption
    views::Chart2DView *m_chart2D = nullptr;
    views::Chart3DView *m_chart3D = nullptr;
    views::TimingGrid *m_grid2D = nullptr;
    views::TimingGrid *m_grid3D = nullptr;
    PortSetupPanel *m_portPanel = nullptr;
    ProgressFrame *m_progress = nullptr;
    BusyGate *m_gate = nullptr;  // what a running transfer turns away
    std::unique_ptr<ImageKeeper> m_keeper;
    std::unique_ptr<ImageReplacement> m_replacement;
    std::unique_ptr<FileDialogs> m_fileDialogs;  // shared by every command that asks for a file
    DataStatus *m_dataStatus = nullptr;
    TransferCommands *m_transferCommands = nullptr;
    FileCommands *m_fileCommands = nullptr;
    CompareCommands *m_compareCommands = nullptr;
    ReportCommands *m_reportCommands = nullptr;
    HistoryCommands *m_historyCommands = nullptr;
    TableCommands *m_tableCommands = nullptr;
    ParameterCommands *m_parameterCommands = nullptr;
    editor::TableSession *m_session = nullptr;
    bool m_loadRan = false;  // resizes lay out only once the load has begun
};

}  // namespace tunara::ui
