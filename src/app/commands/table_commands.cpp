#include "app/commands/table_commands.h"

#include "app/commands/copy_buffer.h"
#include "app/commands/new_3d_wizard_host.h"
#include "app/main_actions.h"
#include "app/window_shell.h"
#include "dialogs/new_3d_table_dialog.h"
#include "ui_port/user_interface.h"
#include "views/chart_2d_view.h"
#include "views/chart_3d_view.h"
#include "views/timing_grid.h"
#include "tables/table_axes.h"
#include "tables/table_codec.h"
#include "tables/timing_tables.h"
#include "views/map_3d_display.h"
#include "views/map_3d_editor.h"
#include "views/table_grid_binding.h"

#include <QAction>
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

TableCommands::TableCommands(const ModuleData &data, editor::TableSession &session, UserInterface &ui,
                             const MainActions &actions, TableViews views, CopyBuffer &copy, WindowShell &shell,
                             QString programFolder, QObject *parent)
    : QObject(parent),
      m_data(data),
      m_session(session),
      m_ui(ui),
      m_actions(actions),
      m_views(views),
      m_copy(copy),
      m_shell(shell),
      m_programFolder(std::move(programFolder))
{
    m_grid2D = new views::TableGridBinding(views.grid2D, model(), editor::TableKind::Curve2D, ui,
                                            shell.dialogParent());
    m_grid3D = new views::TableGridBinding(views.grid3D, model(), editor::TableKind::Map3D, ui,
                                            shell.dialogParent());
    m_curve2D = new views::Curve2DEditor(views.chart2D, *m_grid2D, model(), m_gesture);
    m_map3D = new views::Map3DDisplay(views.chart3D, *m_grid3D, model());
    m_map3DEditor = new views::Map3DEditor(views.chart3D, *m_grid3D, model(), m_gesture);
    connect(m_grid2D, &views::TableGridBinding::contextMenuRequested, this, [this](const QPoint &pos) {
        popUpGridMenu(m_actions.popUp2D, pos);
    });
    connect(m_grid3D, &views::TableGridBinding::contextMenuRequested, this, [this](const QPoint &pos) {
        popUpGridMenu(m_actions.popUp3D, pos);
    });
    connect(&m_session, &editor::TableSession::opened, this, &TableCommands::showTableViews);
    connect(&m_session, &editor::TableSession::closed, this, &TableCommands::hideTableViews);
    registerCommands();
    connect(&model(), &editor::TableEditModel::historyChanged, this, [this] { updateUndoRedo(); });
}

TableCommands::~TableCommands() = default;

void TableCommands::registerCommands()
{
    const MainActions &a = m_actions;
    connect(a.newTable, &QAction::triggered, this, &TableCommands::mnuNewTable_Click);
    connect(a.editTimingTable, &QAction::triggered, this, &TableCommands::mnuEditTimingTable_Click);
    connect(a.saveTbl, &QAction::triggered, this, &TableCommands::mnuSaveTbl_Click);
    connect(a.closeTbl, &QAction::triggered, this, &TableCommands::mnuCloseTbl_Click);
    connect(a.undo, &QAction::triggered, this, &TableCommands::mnuUndo_Click);
    connect(a.redo, &QAction::triggered, this, &TableCommands::mnuRedo_Click);
}

void TableCommands::updateUndoRedo()
{
    m_actions.undo->setEnabled(model().canUndo());
    m_actions.redo->setEnabled(model().canRedo());
}

bool TableCommands::isEditInProgress() const
{
    // A cell being typed into has its own undo, and a drag in progress
    // commits first; the table's history waits for both.
    return m_views.grid2D.isEditing() || m_views.grid3D.isEditing() || m_curve2D->isPreviewing()
           || m_map3DEditor->isPreviewing();
}

void TableCommands::mnuUndo_Click()
{
    if (!isEditInProgress())
        model().undo();
}

void TableCommands::mnuRedo_Click()
{
    if (!isEditInProgress())
        model().redo();
}

void TableCommands::popUpGridMenu(const GridPopupActions &popUp, const QPoint &globalPos)
{
    const bool somethingToPaste = !m_copy.state().ClipText.isEmpty() || !QGuiApplication::clipboard()->text().isEmpty();
    popUp.paste->setEnabled(somethingToPaste);
    popUp.menu->popup(globalPos);
}

// ---- the commands ----

void TableCommands::mnuNewTable_Click()
{
    switch (m_session.active()) {
    case editor::TableKind::Curve2D:
        showNew2DWizard();
        break;
    case editor::TableKind::Map3D:
        if (ChartSetup3D())
            showNew3DWizard();
        break;
    case editor::TableKind::None:
        m_ui.messageBox(m_shell.dialogParent(),
                                   QStringLiteral("Timing table disabled. Edit module parameters to enable timing table."),
                                   QStringLiteral("New Timing Table"), Buttons::OK, Icon::Exclamation);
        break;
    }
}

void TableCommands::mnuEditTimingTable_Click()
{
    const editor::TableKind active = m_session.active();
    if (active == editor::TableKind::None)
        return;
    m_copy.state().ClipText.clear();
    QGuiApplication::clipboard()->clear();
    // Re-opening drops the chart's edits, not a wizard's table: it stays
    // the working array, still to be saved or closed.
    m_session.closeKeepingWizard();
    if (active == editor::TableKind::Map3D && !ChartSetup3D())
        return;
    if (m_data.image.DataBufferEmpty) {
        const Answer a = m_ui.messageBox(m_shell.dialogParent(), QStringLiteral("Data buffer empty. Create new table?"),
                                                    EditTitle, Buttons::OKCancel, Icon::None);
        if (a != Answer::OK)
            return;
        if (active == editor::TableKind::Curve2D)
            showNew2DWizard();
        else
            showNew3DWizard();
        return;
    }
    QCoreApplication::processEvents();
    if (active == editor::TableKind::Curve2D && !loadTemplate2D()) {
        mnuCloseTbl_Click();
        return;
    }
    m_session.openActive();
}

void TableCommands::mnuSaveTbl_Click()
{
    if (!m_session.save()) {
        m_ui.messageBox(m_shell.dialogParent(), QStringLiteral("No active table to save"),
                                   QStringLiteral("Save Table Edits To Buffer"), Buttons::OK, Icon::Exclamation);
        return;
    }
    m_copy.clear();
}

void TableCommands::mnuCloseTbl_Click()
{
    if (m_session.isOpen()) {
        const Answer a = m_ui.messageBox(
            m_shell.dialogParent(), QStringLiteral("Save table edits to buffer before closing?"), QStringLiteral("Close Table"),
            Buttons::YesNoCancel, Icon::Exclamation);
        if (a == Answer::Yes)
            mnuSaveTbl_Click();
        else if (a != Answer::No)
            return;  // Cancel (or the box closed): the table stays open
    }
    endTableEditing();
}

void TableCommands::endTableEditing()
{
    m_session.discard();
    m_copy.clear();
}

// ---- putting a table on screen ----

void TableCommands::showTableViews(editor::TableKind kind)
{
    const bool threeD = kind == editor::TableKind::Map3D;
    QWidget *chart = threeD ? static_cast<QWidget *>(&m_views.chart3D) : &m_views.chart2D;
    views::TimingGrid *grid = threeD ? &m_views.grid3D : &m_views.grid2D;
    m_views.chart2D.hideValueLabel();
    m_views.chart3D.hideValueLabel();
    m_shell.layOutViews();
    chart->show();
    grid->show();
    grid->setCurrentCellAt(0, 0);
}

void TableCommands::hideTableViews()
{
    m_views.chart2D.hide();
    m_views.grid2D.hide();
    m_views.chart3D.hide();
    m_views.grid3D.hide();
}

bool TableCommands::ChartSetup3D()
{
    const ModuleData &data = m_data;
    const std::uint8_t sensor = data.params.MAPSensor;
    views::setupGrid3D(m_views.grid3D, sensor);
    m_views.chart3D.setMapSensor(sensor);
    const QString name = axes::template3DFileName(sensor);
    if (!m_views.chart3D.loadTemplate(QDir(m_programFolder).filePath(name))) {
        reportTemplateFailure(name, m_views.chart3D.lastTemplateResult());
        mnuCloseTbl_Click();
        return false;
    }
    m_views.chart3D.hideValueLabel();
    return true;
}

bool TableCommands::loadTemplate2D()
{
    const QString name = axes::template2DFileName();
    if (m_views.chart2D.loadTemplate(QDir(m_programFolder).filePath(name)))
        return true;
    reportTemplateFailure(name, m_views.chart2D.lastTemplateResult());
    return false;
}

void TableCommands::reportTemplateFailure(const QString &fileName, const charts::TemplateResult &result)
{
    m_ui.messageBox(m_shell.dialogParent(), charts::templateFailureText(fileName, result), EditTitle, Buttons::OK,
                               Icon::Critical);
}

// ---- the wizards ----

void TableCommands::showNew2DWizard()
{
    wizards::frmNew2DTable wizard(*this, m_shell.dialogParent());
    wizard.Form_Load();
    userInterface().showModal(wizard);
}

void TableCommands::showNew3DWizard()
{
    New3DWizardHost host(m_data, m_session, m_ui, m_shell, [this] { mnuSaveTbl_Click(); });
    wizards::frmNew3DTable wizard(host, m_shell.dialogParent());
    wizard.Form_Load();
    m_ui.showModal(wizard);
}

UserInterface &TableCommands::userInterface()
{
    return m_ui;
}

int TableCommands::trigTiming() const
{
    return m_data.params.TrigTiming;
}

bool TableCommands::isChart2DVisible() const
{
    return m_session.openKind() == editor::TableKind::Curve2D;
}

void TableCommands::clearTableView()
{
    m_session.discard();
    m_shell.showMainTitle();
}

void TableCommands::showNewTable(const Table2D &table, int trigTiming)
{
    m_session.openNew2D(table, trigTiming);
}

}  // namespace tunara::ui
