#include "app/table_commands.h"

#include "views/chart_2d_view.h"
#include "views/chart_3d_view.h"
#include "app/main_new_3d_table.h"
#include "app/main_window.h"
#include "app/menu_commands.h"
#include "views/timing_grid.h"
#include "tables/table_axes.h"
#include "tables/table_codec.h"
#include "tables/timing_tables.h"
#include "views/map_3d_display.h"
#include "views/map_3d_editor.h"
#include "views/table_grid_binding.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QEvent>
#include <QMenu>

#include <utility>

namespace tunara::ui {

namespace {

const QString EditTitle = QStringLiteral("Edit Timing Table");

}  // namespace

TableCommands::TableCommands(frmTunara_Main &window) : QObject(&window), m_window(window)
{
    UserInterface &ui = window.context().ui;
    m_grid2D = new views::TableGridBinding(*window.grid2D(), m_model, editor::TableKind::Curve2D, ui, &window);
    m_grid3D = new views::TableGridBinding(*window.grid3D(), m_model, editor::TableKind::Map3D, ui, &window);
    m_curve2D = new views::Curve2DEditor(*window.chart2D(), *m_grid2D, m_model, m_gesture);
    m_map3D = new views::Map3DDisplay(*window.chart3D(), *m_grid3D, m_model);
    m_map3DEditor = new views::Map3DEditor(*window.chart3D(), *m_grid3D, m_model, m_gesture);
    connect(m_grid2D, &views::TableGridBinding::contextMenuRequested, this, [this](const QPoint &pos) {
        popUpGridMenu(m_window.popupMenus().edit2D, QStringLiteral("mnuPopUpPaste2D"), pos);
    });
    connect(m_grid3D, &views::TableGridBinding::contextMenuRequested, this, [this](const QPoint &pos) {
        popUpGridMenu(m_window.popupMenus().edit3D, QStringLiteral("mnuPopUpPaste3D"), pos);
    });
    // Whatever hides the views (these commands, a download, a file open)
    // ends the table on screen and its history.
    m_watchedChart2D = window.chart2D();
    m_watchedChart3D = window.chart3D();
    m_watchedChart2D->installEventFilter(this);
    m_watchedChart3D->installEventFilter(this);
    addUndoRedoItems();
    registerCommands();
    connect(&m_model, &editor::TableEditModel::historyChanged, this, [this] { updateUndoRedo(); });
}

TableCommands::~TableCommands() = default;

void TableCommands::registerCommands()
{
    MenuCommands &c = m_window.commands();
    c.setHandler(QStringLiteral("mnuNewTable"), [this] { mnuNewTable_Click(); });
    c.setHandler(QStringLiteral("mnuEditTimingTable"), [this] { mnuEditTimingTable_Click(); });
    c.setHandler(QStringLiteral("mnuSaveTbl"), [this] { mnuSaveTbl_Click(); });
    c.setHandler(QStringLiteral("mnuCloseTbl"), [this] { mnuCloseTbl_Click(); });
    c.setHandler(QStringLiteral("mnuUndo"), [this] { mnuUndo_Click(); });
    c.setHandler(QStringLiteral("mnuRedo"), [this] { mnuRedo_Click(); });
}

void TableCommands::addUndoRedoItems()
{
    QMenu *edit = m_window.findChild<QMenu *>(QStringLiteral("mnuEdit"));
    QAction *sep = edit->addSeparator();
    sep->setObjectName(QStringLiteral("mnuEditSepUndo"));
    QAction *undo = edit->addAction(QStringLiteral("Undo"));
    undo->setObjectName(QStringLiteral("mnuUndo"));
    undo->setShortcuts(QKeySequence::Undo);
    QAction *redo = edit->addAction(QStringLiteral("Redo"));
    redo->setObjectName(QStringLiteral("mnuRedo"));
    QList<QKeySequence> redoKeys = QKeySequence::keyBindings(QKeySequence::Redo);
    for (const QKeySequence &k : {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)})
        if (!redoKeys.contains(k))
            redoKeys.append(k);
    redo->setShortcuts(redoKeys);
    m_window.commands().add(undo, false);
    m_window.commands().add(redo, false);
}

void TableCommands::updateUndoRedo()
{
    m_window.commands().setAllowed(QStringLiteral("mnuUndo"), m_model.canUndo());
    m_window.commands().setAllowed(QStringLiteral("mnuRedo"), m_model.canRedo());
}

bool TableCommands::isEditInProgress() const
{
    // A cell being typed into has its own undo, and a drag in progress
    // commits first; the table's history waits for both.
    return m_window.grid2D()->isEditing() || m_window.grid3D()->isEditing() || m_curve2D->isPreviewing()
           || m_map3DEditor->isPreviewing();
}

bool TableCommands::isTableOnView() const
{
    return m_window.grid2D()->isVisibleTo(&m_window) || m_window.grid3D()->isVisibleTo(&m_window);
}

void TableCommands::mnuUndo_Click()
{
    if (!isEditInProgress())
        m_model.undo();
}

void TableCommands::mnuRedo_Click()
{
    if (!isEditInProgress())
        m_model.redo();
}

bool TableCommands::eventFilter(QObject *, QEvent *event)
{
    // Both charts hidden by a command (not merely with their window): the
    // table is off the screen.
    const auto off = [](const QPointer<QWidget> &chart) { return !chart || chart->isHidden(); };
    if (event->type() == QEvent::Hide && m_model.isOpen() && off(m_watchedChart2D) && off(m_watchedChart3D)) {
        m_model.close();
        restoreBeforeWizard();
    }
    return false;
}

void TableCommands::popUpGridMenu(QMenu *menu, const QString &pasteItem, const QPoint &globalPos)
{
    const bool somethingToPaste = !m_window.Clip.ClipText.isEmpty() || !QGuiApplication::clipboard()->text().isEmpty();
    m_window.commands().setAllowed(pasteItem, somethingToPaste);
    menu->popup(globalPos);
}

// ---- the commands ----

void TableCommands::mnuNewTable_Click()
{
    const ModuleParameters &params = m_window.context().data.params;
    if (params.TimingTable2D) {
        showNew2DWizard();
    } else if (params.TimingTable3D) {
        if (ChartSetup3D())
            showNew3DWizard();
    } else {
        userInterface().messageBox(&m_window,
                                   QStringLiteral("Timing table disabled. Edit module parameters to enable timing table."),
                                   QStringLiteral("New Timing Table"), Buttons::OK, Icon::Exclamation);
    }
}

void TableCommands::mnuEditTimingTable_Click()
{
    ModuleData &data = m_window.context().data;
    m_window.Clip.ClipText.clear();
    QGuiApplication::clipboard()->clear();
    // Re-opening drops the chart's edits, not a wizard's table: it stays
    // the working array, still to be saved or closed.
    std::optional<BeforeWizard> wizardPending = std::exchange(m_beforeWizard, std::nullopt);
    m_window.hideAllTableViews();
    m_beforeWizard = std::move(wizardPending);
    if (data.params.TimingTable3D && !ChartSetup3D())
        return;
    if (data.image.DataBufferEmpty) {
        const Answer a = userInterface().messageBox(&m_window, QStringLiteral("Data buffer empty. Create new table?"),
                                                    EditTitle, Buttons::OKCancel, Icon::None);
        if (a != Answer::OK)
            return;
        if (data.params.TimingTable2D)
            showNew2DWizard();
        else
            showNew3DWizard();
        return;
    }
    QCoreApplication::processEvents();
    if (data.params.TimingTable2D) {
        if (!loadTemplate2D()) {
            mnuCloseTbl_Click();
            return;
        }
        ShowTable2D();
    } else if (data.params.TimingTable3D) {
        ShowTable3D();
    }
}

void TableCommands::mnuSaveTbl_Click()
{
    if (!isTableOnView()) {
        userInterface().messageBox(&m_window, QStringLiteral("No active table to save"),
                                   QStringLiteral("Save Table Edits To Buffer"), Buttons::OK, Icon::Exclamation);
        return;
    }
    writeTableToImage();
    m_model.markSaved();
    endTableEditing();
}

void TableCommands::mnuCloseTbl_Click()
{
    if (isTableOnView()) {
        const Answer a = userInterface().messageBox(
            &m_window, QStringLiteral("Save table edits to buffer before closing?"), QStringLiteral("Close Table"),
            Buttons::YesNoCancel, Icon::Exclamation);
        if (a == Answer::Yes)
            mnuSaveTbl_Click();
        else if (a != Answer::No)
            return;  // Cancel (or the box closed): the table stays open
    }
    endTableEditing();
}

// The one place where the editor writes table bytes into the image. The
// table on screen is the one written, into its own region: after the mode
// options changed under an open table, its edits still go where they
// belong instead of overwriting the other table with stale values.
void TableCommands::writeTableToImage()
{
    ModuleData &data = m_window.context().data;
    const int trig = data.params.TrigTiming;
    rebaseForWizardTrigger();
    // The upload guard asks before sending a table region nobody filled in
    // this run; a save from the editor fills the region it writes.
    if (m_model.copyTo(data.tables.table2D)) {
        EncodeTable2D(data.tables.table2D, trig, data.image);
        data.filledThisRun.table2D = true;
    } else if (m_model.copyTo(data.tables.table3D)) {
        EncodeTable3D(data.tables.table3D, trig, data.image);
        data.filledThisRun.table3D = true;
    }
}

// A wizard's trigger timing becomes the image's with its table: the other
// table region and working array move to it as the parameters dialog moves
// them, so neither changes the advance it stands for.
void TableCommands::rebaseForWizardTrigger()
{
    if (!m_beforeWizard)
        return;
    ModuleData &data = m_window.context().data;
    const int oldTrig = m_beforeWizard->trigTiming;
    const int trig = data.params.TrigTiming;
    m_beforeWizard.reset();
    if (oldTrig == trig)
        return;
    // The table being saved is written over from the editor right after.
    ClampTablesToTrigger(data.tables, trig);
    if (!data.image.DataBufferEmpty)
        RebaseTableRegions(data.image, oldTrig, trig);
}

void TableCommands::rememberBeforeWizard()
{
    if (m_beforeWizard)
        return;  // an earlier wizard's table is still unsaved: keep what was before it
    const ModuleData &data = m_window.context().data;
    m_beforeWizard = BeforeWizard{data.tables, data.params.TrigTiming};
}

void TableCommands::restoreBeforeWizard()
{
    if (!m_beforeWizard)
        return;
    ModuleData &data = m_window.context().data;
    data.tables = m_beforeWizard->tables;
    data.params.TrigTiming = m_beforeWizard->trigTiming;
    m_beforeWizard.reset();
}

void TableCommands::endTableEditing()
{
    m_window.hideAllTableViews();
    // Also when the window is not on screen and no hide event came.
    restoreBeforeWizard();
    m_window.clearCopyState();
}

// ---- putting a table on screen ----

void TableCommands::ShowTable2D()
{
    const ModuleData &data = m_window.context().data;
    m_model.open2D(data.tables.table2D, data.params.TrigTiming);
    m_window.chart2D()->hideValueLabel();
    m_window.Form_Resize();
    m_window.chart2D()->show();
    m_window.grid2D()->show();
    m_window.grid2D()->setCurrentCellAt(0, 0);
}

void TableCommands::ShowTable3D()
{
    const ModuleData &data = m_window.context().data;
    m_model.open3D(data.tables.table3D, data.params.TrigTiming);
    m_window.chart3D()->hideValueLabel();
    m_window.Form_Resize();
    m_window.chart3D()->show();
    m_window.grid3D()->show();
    m_window.grid3D()->setCurrentCellAt(0, 0);
}

bool TableCommands::ChartSetup3D()
{
    const ModuleData &data = m_window.context().data;
    const std::uint8_t sensor = data.params.MAPSensor;
    views::SetupGrid3D(*m_window.grid3D(), sensor);
    m_window.chart3D()->setMapSensor(sensor);
    const QString name = axes::template3DFileName(sensor);
    if (!m_window.chart3D()->loadTemplate(QDir(m_window.context().programFolder).filePath(name))) {
        reportTemplateFailure(name, m_window.chart3D()->lastTemplateResult());
        mnuCloseTbl_Click();
        return false;
    }
    // A 3D table on view keeps its edits: the new-table wizard asks whether
    // to save them before it clears the view.
    if (!m_window.chart3D()->isVisibleTo(&m_window))
        m_model.open3D(data.tables.table3D, data.params.TrigTiming);
    m_window.chart3D()->hideValueLabel();
    return true;
}

bool TableCommands::loadTemplate2D()
{
    const QString name = axes::template2DFileName();
    if (m_window.chart2D()->loadTemplate(QDir(m_window.context().programFolder).filePath(name)))
        return true;
    reportTemplateFailure(name, m_window.chart2D()->lastTemplateResult());
    return false;
}

void TableCommands::reportTemplateFailure(const QString &fileName, const views::TemplateResult &result)
{
    userInterface().messageBox(&m_window, views::templateFailureText(fileName, result), EditTitle, Buttons::OK,
                               Icon::Critical);
}

// ---- the wizards ----

void TableCommands::showNew2DWizard()
{
    wizards::frmNew2DTable wizard(*this, &m_window);
    wizard.Form_Load();
    userInterface().showModal(wizard);
}

void TableCommands::showNew3DWizard()
{
    ShowNew3DTableWizard(m_window);
}

UserInterface &TableCommands::userInterface()
{
    return m_window.context().ui;
}

int TableCommands::trigTiming() const
{
    return m_window.context().data.params.TrigTiming;
}

bool TableCommands::isChart2DVisible() const
{
    return m_window.chart2D()->isVisibleTo(&m_window);
}

void TableCommands::clearTableView()
{
    m_window.chart2D()->hide();
    m_window.grid2D()->hide();
    m_window.setWindowTitle(m_window.MainTitle);
}

void TableCommands::showNewTable(const Table2D &table, int trigTiming)
{
    // The trigger timing is the module's before the table is shown, so the
    // views open with the window of the new curve.
    rememberBeforeWizard();
    ModuleData &data = m_window.context().data;
    data.tables.table2D = table;
    data.params.TrigTiming = trigTiming;
    ShowTable2D();
}

}  // namespace tunara::ui
