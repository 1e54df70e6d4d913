#include "app/main_window.h"

#include "views/chart_2d_view.h"
#include "views/chart_3d_view.h"
#include "app/busy_gate.h"
#include "app/commands/compare_commands.h"
#include "app/commands/copy_buffer.h"
#include "app/commands/parameter_commands.h"
#include "app/commands/report_commands.h"
#include "app/commands/selection_commands.h"
#include "app/commands/table_commands.h"
#include "app/commands/table_csv_commands.h"
#include "app/commands/take_compared_command.h"
#include "app/commands/file_commands.h"
#include "app/commands/file_dialogs.h"
#include "app/commands/image_keeper.h"
#include "app/commands/image_replacement.h"
#include "app/main_menus.h"
#include "app/port_setup_panel.h"
#include "app/progress_frame.h"
#include "views/timing_grid.h"
#include "views/window_layout.h"
#include "editor/table_session.h"
#include "files/stored_settings.h"
#include "link/module_protocol.h"
#include "link/serial_port.h"
#include "tables/table_axes.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <QProgressBar>

namespace tunara::ui {

namespace {

// Control positions of the window's design, in twips.
constexpr views::TwipsRect PortFrameRect{1680, 1200, 2655, 1932};
constexpr views::TwipsRect ProgressFrameRect{960, 4080, 4335, 735};
constexpr views::TwipsRect ProgressBarRect{240, 360, 3855, 255};
constexpr double DesignClientWidth = 9036;
constexpr double DesignClientHeight = 7512;

}  // namespace

QString frmTunara_Main::designCaption()
{
    return QStringLiteral("Tunara Torvik Zoruro Version 1.0");
}

frmTunara_Main::frmTunara_Main(MainWindowContext context, QWidget *parent)
    : QMainWindow(parent), m_ctx(std::move(context)), m_errorDialog(m_ctx.ui, this)
{
    setObjectName(QStringLiteral("frmTunara_Main"));
    setWindowTitle(designCaption());
    createControls();
    m_gate = new BusyGate(*this);
    m_protocol = std::make_unique<link::ModuleProtocol>(m_ctx.port, m_ctx.document.image(), m_errorDialog, m_progress,
                                                        m_ctx.clock ? *m_ctx.clock : link::LinkClock::machine());
    m_protocol->runOn(m_ctx.linkThread);
    m_lineErrors = new link::LineErrorHandler(m_ctx.port, *this, this);
    connectCommands();
    setUpDataCommands();
    // Key preview: the window sees every key press of its controls first.
    qApp->installEventFilter(this);
    const double tpp = twipsPerPixel();
    resize(views::twipsToPixels(DesignClientWidth, tpp), views::twipsToPixels(DesignClientHeight, tpp) + menuBar()->sizeHint().height());
}

frmTunara_Main::~frmTunara_Main()
{
    qApp->removeEventFilter(this);
}

void frmTunara_Main::createControls()
{
    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("clientArea"));
    setCentralWidget(client);

    m_actions = buildMainMenus(*menuBar(), *this);
    m_copy = std::make_unique<CopyBuffer>(m_actions);

    m_chart2D = new views::Chart2DView(client);
    m_grid2D = new views::TimingGrid(QStringLiteral("VSFlexGrid1"), 2, SpeedPoints + 1, client);
    m_chart3D = new views::Chart3DView(client);
    m_grid3D = new views::TimingGrid(QStringLiteral("VSFlexGrid2"), PressureRows + 1, SpeedPoints + 1, client);
    for (QWidget *view : {static_cast<QWidget *>(m_chart2D), static_cast<QWidget *>(m_grid2D),
                          static_cast<QWidget *>(m_chart3D), static_cast<QWidget *>(m_grid3D)})
        view->hide();

    const double tpp = twipsPerPixel();
    const auto px = [tpp](const views::TwipsRect &r) {
        return QRect(views::twipsToPixels(r.left, tpp), views::twipsToPixels(r.top, tpp), views::twipsToPixels(r.width, tpp),
                     views::twipsToPixels(r.height, tpp));
    };
    m_portPanel = new PortSetupPanel(client);
    // Wider and taller than the design frame: it also names the device
    // behind the selected number, which needs room for a path.
    const QRect portRect = px(PortFrameRect);
    m_portPanel->setGeometry(portRect.left(), portRect.top(), std::max(portRect.width(), 300),
                             std::max(portRect.height(), 150));
    m_portPanel->setDeviceDescriber(m_ctx.describePort);
    m_portPanel->hide();

    m_progress = new ProgressFrame(client);
    m_progress->hide();
    placeProgressFrame();

    // Never so small that the port set-up panel or the progress frame is cut off.
    const QRect frames = m_portPanel->geometry().united(m_progress->geometry());
    constexpr int margin = 12;
    setMinimumSize(frames.right() + 1 + margin, frames.bottom() + 1 + margin + menuBar()->sizeHint().height());
}

// The design's place, widened for the longest caption, and below the port
// panel, which it must never cover: both can be up during a transfer.
void frmTunara_Main::placeProgressFrame()
{
    const double tpp = twipsPerPixel();
    const auto px = [tpp](double twips) { return views::twipsToPixels(twips, tpp); };
    const int barLeft = px(ProgressBarRect.left);
    const int captionWidth =
        m_progress->fontMetrics().horizontalAdvance(link::ModuleProtocol::programmingCannotStopCaption());
    const int width = std::max(px(ProgressFrameRect.width), captionWidth + 2 * barLeft);
    constexpr int gap = 8;
    const int top = std::max(px(ProgressFrameRect.top), m_portPanel->geometry().bottom() + 1 + gap);
    m_progress->setGeometry(px(ProgressFrameRect.left), top, width, px(ProgressFrameRect.height));
    m_progress->bar()->setGeometry(barLeft, px(ProgressBarRect.top), width - 2 * barLeft, px(ProgressBarRect.height));
}

void frmTunara_Main::connectCommands()
{
    connect(m_actions.exit, &QAction::triggered, this, &frmTunara_Main::mnuExit_Click);
    connect(m_actions.about, &QAction::triggered, this, &frmTunara_Main::mnuAbout_Click);
    connect(m_actions.helpContents, &QAction::triggered, this, &frmTunara_Main::mnuHelpContents_Click);
    connect(m_actions.portSetup, &QAction::triggered, this, &frmTunara_Main::mnuPortSetup_Click);
    m_session = new editor::TableSession(m_ctx.document, this);
    const TableViews views = tableViews();
    m_fileDialogs = std::make_unique<FileDialogs>(m_ctx.settings, m_ctx.ui, *this, m_ctx.restorePointFolder);
    const WindowContext shared{m_ctx.document, *m_session, m_actions,       views,
                               m_ctx.ui,       m_errorDialog, *this, *m_fileDialogs, m_ctx.programFolder};
    m_reportCommands = new ReportCommands(shared, m_ctx.company.CompanyInfo.value(0), this);
    m_tableCommands = new TableCommands(m_ctx.document.data(), *m_session, m_ctx.ui, m_actions, views, *m_copy, *this,
                                        m_ctx.programFolder, this);
    auto *selection = new SelectionCommands(m_session->model(), views, m_actions, m_ctx.ui, *m_copy, *this, this);
    auto *currentCell = new QLabel(statusBar());
    currentCell->setObjectName(QStringLiteral("lblCurrentCell"));
    // The cell read-out keeps its whole width; the other fields give way.
    currentCell->setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Preferred);
    statusBar()->addPermanentWidget(currentCell);
    connect(selection, &SelectionCommands::currentCellShown, currentCell, &QLabel::setText);
    m_compareCommands = new CompareCommands(m_session->model(), views, m_actions, m_ctx.ui, *this, *m_fileDialogs, this);
    m_reportCommands->setComparedTune([this] { return m_compareCommands->comparedTune(); },
                                      [this] { return m_ctx.document.source().title; });
    new TakeComparedCommand(m_session->model(), m_compareCommands->overlay(),
                            [selection](editor::TableKind kind) { return selection->selectedCells(kind); }, m_actions,
                            *this, this);
    new TableCsvCommands(m_ctx.document.data(), *m_session, views, m_actions, m_ctx.ui, *this, *m_fileDialogs, this);
    connect(m_portPanel, &PortSetupPanel::portPicked, this, [this](int) { cboPort_Click(); });
    connect(m_portPanel, &PortSetupPanel::okClicked, this, [this] { cmdPortSelectOK_Click(); });
    const auto closeTable = [this] {
        m_tableCommands->mnuCloseTbl_Click();
        return !isTableOpen();
    };
    m_parameterCommands = new ParameterCommands(m_ctx.document, m_ctx.ui, m_actions, *this, closeTable, this);
}

TableViews frmTunara_Main::tableViews() const
{
    return TableViews{*m_chart2D, *m_chart3D, *m_grid2D, *m_grid3D};
}

QString frmTunara_Main::programFile(const QString &name) const
{
    return QDir(m_ctx.programFolder).filePath(name);
}

double frmTunara_Main::twipsPerPixel() const
{
    return views::twipsPerPixelAt(logicalDpiY());
}

bool frmTunara_Main::isTableOpen() const
{
    return m_session->isOpen();
}

void frmTunara_Main::applyTableMenuRule()
{
    const bool tableSelected = editor::activeTable(m_ctx.document.params()) != editor::TableKind::None;
    m_actions.newTable->setEnabled(true);
    for (QAction *item : {m_actions.editTimingTable, m_actions.closeTbl, m_actions.saveTbl})
        item->setEnabled(tableSelected);
}

CopyState &frmTunara_Main::clip()
{
    return m_copy->state();
}

void frmTunara_Main::Form_Load()
{
    // Each step runs under the common error dialog: Retry repeats it, Ignore
    // goes on with the next, Abort leaves the load where it is.
    m_loadRan = true;
    const auto step = [this](const std::function<void()> &body) {
        return runTrapped(m_errorDialog, body) != StepOutcome::Aborted;
    };
    if (!step([] { QCoreApplication::setApplicationName(StoredSettings::mainApplicationName()); }))
        return;
    // The working folder stays the one the user started in: names given on
    // the command line mean files there, and the program's own files are
    // always opened by their full path in the program folder.
    m_protocol->state().resetToStartUp();
    if (!step([this] {
            // Until a stored number is read, no port is chosen: a command
            // must not open a port the list does not show.
            m_ctx.port.setPortNumber(0);
            m_portPanel->selectPort(0);
            int number = 0;
            try {
                number = parseCommPort(m_ctx.settings.commPortText());
            } catch (const RuntimeError &e) {
                throw RuntimeError(e.number(), e.source(),
                                   e.description() +
                                       QStringLiteral(" Choose the port under Communications, Port Setup."));
            }
            m_ctx.port.setPortNumber(number);
            m_portPanel->selectPort(number);
        }))
        return;
    if (!step([this] { applySerialSettings(); }))
        return;
    if (!step([this] { m_ctx.document.edit()->image.ClearEEPROMBuffer(); }))
        return;
    if (!step([this] { loadChartTemplates2D(); }))
        return;
    if (!step([this] {
            m_ctx.document.edit()->tables.table2D = Table2D{};
            views::setupGrid2D(*m_grid2D);
        }))
        return;
    if (!step([this] { loadChartTemplates3D(); }))
        return;
    if (!step([this] {
            m_ctx.document.edit()->tables.table3D = Table3D{};
            views::setupGrid3D(*m_grid3D, 0);
        }))
        return;
    if (!step([this] { m_mainTitle = windowTitle(); }))
        return;
    if (!step([this] {
            if (m_ctx.company.CompanyInfo.isEmpty())
                throw RuntimeError(SubscriptErrorNumber, QStringLiteral("Form Load"),
                                   QStringLiteral("The configuration file %1 has no company lines after its "
                                                  "splash settings, so the window has no company name.")
                                       .arg(config::fileName()));
            setWindowTitle(m_ctx.company.CompanyInfo.first() + u' ' + m_mainTitle);
        }))
        return;
    m_ctx.document.edit()->params = ModuleParameters{};
    applyTableMenuRule();  // the start-up parameters select no table
    m_copy->clear();
    if (!step([] { QGuiApplication::clipboard()->clear(); }))
        return;
}

void frmTunara_Main::applySerialSettings()
{
    m_ctx.port.applySettings();
    m_lineErrors->resetCount();
}

void frmTunara_Main::reportTemplate(bool loaded, const QString &fileName, const QString &why, bool missing)
{
    if (loaded)
        return;
    charts::TemplateResult result;
    result.missing = missing;
    result.error = why;
    m_ctx.ui.messageBox(this, charts::templateFailureText(fileName, result), QStringLiteral("Form Load"), Buttons::OK,
                        Icon::Exclamation);
}

void frmTunara_Main::loadChartTemplates2D()
{
    const QString name = axes::template2DFileName();
    const bool ok = m_chart2D->loadTemplate(programFile(name));
    reportTemplate(ok, name, m_chart2D->lastTemplateResult().error, m_chart2D->lastTemplateResult().missing);
    m_chart2D->hideValueLabel();
}

void frmTunara_Main::loadChartTemplates3D()
{
    const QString name = axes::template3DFileName(0);
    const bool ok = m_chart3D->loadTemplate(programFile(name));
    reportTemplate(ok, name, m_chart3D->lastTemplateResult().error, m_chart3D->lastTemplateResult().missing);
    m_chart3D->hideValueLabel();
}

void frmTunara_Main::Form_KeyPress(int keyAscii)
{
    if (keyAscii != 27)
        return;
    // Kept for nothing later: only a running transfer listens.
    if (transferRunning())
        m_protocol->state().requestAbort();
    m_chart2D->hideValueLabel();
    m_chart3D->hideValueLabel();
}

bool frmTunara_Main::eventFilter(QObject *watched, QEvent *event)
{
    // The port panel grows with a long device description.
    if (watched == m_portPanel && event->type() == QEvent::Resize && m_progress)
        placeProgressFrame();
    if (event->type() == QEvent::KeyPress && watched->isWidgetType()) {
        auto *widget = static_cast<QWidget *>(watched);
        if (m_gate->guards(widget->window()) && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape) {
            const bool stopsTransfer = transferRunning();
            Form_KeyPress(27);
            // Esc during a transfer only asks it to stop: it closes no window.
            return stopsTransfer;
        }
    }
    return false;  // every other key also reaches the focused control
}

link::LineErrorChoice frmTunara_Main::askLineError(const QString &text, const QString &title)
{
    const Answer a = m_ctx.ui.messageBox(this, text, title, Buttons::RetryCancel, Icon::Critical);
    return a == Answer::Retry ? link::LineErrorChoice::Retry : link::LineErrorChoice::Cancel;
}

}  // namespace tunara::ui
