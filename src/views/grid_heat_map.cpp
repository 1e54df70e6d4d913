#include "views/grid_heat_map.h"

#include "views/timing_grid.h"
#include "editor/table_edit_model.h"

namespace tunara::views {

GridHeatMap::GridHeatMap(TimingGrid &grid, editor::TableEditModel &model, editor::TableKind kind,
                         std::function<AdvanceColourScale()> scale)
    : QObject(&grid), m_grid(grid), m_model(model), m_kind(kind), m_scale(std::move(scale))
{
    // Connected after the grid's own view of the model, so the cells carry
    // their new text when the tint follows.
    connect(&model, &editor::TableEditModel::tableReset, this, [this] { tintAll(); });
    connect(&model, &editor::TableEditModel::cellsChanged, this,
            [this](const editor::CellRect &cells) { tint(cells); });
}

void GridHeatMap::tintAll()
{
    if (m_model.kind() == m_kind)
        tint(m_model.allCells());
}

void GridHeatMap::tint(const editor::CellRect &cells)
{
    if (m_model.kind() != m_kind)
        return;
    const AdvanceColourScale scale = m_scale();
    for (int r = cells.top; r <= cells.bottom(); ++r) {
        for (int c = cells.left; c <= cells.right(); ++c) {
            QTableWidgetItem *item = m_grid.item(r + 1, c + 1);
            if (!item)
                continue;
            const QColor background = scale.colour(m_model.value(r, c));
            item->setBackground(background);
            item->setForeground(readableTextColour(background));
        }
    }
}

}  // namespace tunara::views
