#include "views/map_3d_display.h"

#include "views/chart_3d_view.h"
#include "editor/table_edit_model.h"
#include "views/table_grid_binding.h"

namespace tunara::views {

Map3DDisplay::Map3DDisplay(Chart3DView &chart, TableGridBinding &grid, editor::TableEditModel &model)
    : QObject(&chart), m_chart(chart), m_model(model)
{
    connect(&model, &editor::TableEditModel::tableReset, this, [this] { showSurface(); });
    connect(&model, &editor::TableEditModel::cellsChanged, this, [this] { showSurface(); });
    connect(&grid, &TableGridBinding::currentDataCellChanged, this,
            [this](int row, int column) { followCurrentCell(row, column); });
}

void Map3DDisplay::showSurface()
{
    Table3D surface;
    if (m_model.copyTo(surface))
        m_chart.setSurface(surface);
}

void Map3DDisplay::followCurrentCell(int row, int column)
{
    if (m_model.kind() != editor::TableKind::Map3D)
        return;
    m_chart.showValueLabel(m_model.displayText(row, column), column + 1,
                           editor::TableEditModel::pressureIndexOfRow(row));
}

}  // namespace tunara::views
