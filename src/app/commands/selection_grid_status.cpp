// The selection commands' grids: the heat-map tint of both grids and the
// current cell's RPM, MAP, stored value and window in the status bar.
#include "app/commands/selection_commands.h"
#include "app/commands/copy_buffer.h"
#include "app/main_actions.h"
#include "app/window_shell.h"
#include "core/shown_numbers.h"
#include "editor/table_edit_model.h"
#include "ui_port/user_interface.h"
#include "views/chart_2d_view.h"
#include "views/chart_3d_view.h"
#include "views/timing_grid.h"
#include "views/grid_heat_map.h"
#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>

namespace tunara::ui {

using editor::CellRect;
using editor::TableKind;

void SelectionCommands::installHeatMaps()
{
    // The 3D grid is coloured on the scale the surface shows beside it; the
    // 2D grid, whose values the surface does not hold, on the surface's look
    // over the 2D window.
    const auto scale2D = [this] {
        return views::advanceColourScale(m_views.chart3D.look(), m_model.editWindow());
    };
    const auto scale3D = [this] { return views::advanceColourScale(m_views.chart3D.scene()); };
    new views::GridHeatMap(m_views.grid2D, m_model, TableKind::Curve2D, scale2D);
    new views::GridHeatMap(m_views.grid3D, m_model, TableKind::Map3D, scale3D);
}

// The current cell for the status bar: its RPM, its MAP (3D), its value as
// the module stores it, and the advance window.
void SelectionCommands::installCellStatus()
{
    for (const TableKind kind : {TableKind::Curve2D, TableKind::Map3D})
        connect(gridOf(kind), &QTableWidget::currentCellChanged, this,
                [this, kind](int row, int column) { showCellStatus(kind, row - 1, column - 1); });
    const auto refresh = [this] {
        const TableKind kind = m_model.kind();
        const views::TimingGrid *grid = gridOf(kind == TableKind::None ? TableKind::Curve2D : kind);
        showCellStatus(kind, kind == TableKind::Curve2D ? 0 : grid->currentRow() - 1, grid->currentColumn() - 1);
    };
    connect(&m_model, &editor::TableEditModel::tableReset, this, refresh);
    connect(&m_model, &editor::TableEditModel::cellsChanged, this, refresh);
}

void SelectionCommands::showCellStatus(TableKind kind, int row, int column)
{
    const editor::TableEditModel &model = m_model;
    if (kind == TableKind::Curve2D)
        row = 0;  // the advance row, whatever row is current
    if (!holds(kind) || row < 0 || column < 0 || row >= model.rows() || column >= model.columns()) {
        emit currentCellShown(QString());
        return;
    }
    const views::TimingGrid *grid = gridOf(kind);
    const editor::AdvanceWindow window = model.editWindow();
    QString text = QStringLiteral("RPM %1").arg(grid->cellText(0, column + 1));
    if (kind == TableKind::Map3D)
        text += QStringLiteral("   MAP %1").arg(grid->cellText(row + 1, 0));
    text += QStringLiteral("   Advance %1   Window %2 .. %3")
                .arg(numbers::shownFixed(model.value(row, column), 4), editor::formatValue(window.low),
                     editor::formatValue(window.high));
    emit currentCellShown(text);
}


}  // namespace tunara::ui
