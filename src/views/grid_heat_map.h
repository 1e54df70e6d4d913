#pragma once

#include "editor/cell_block.h"
#include "editor/table_rules.h"
#include "views/advance_colour_scale.h"

#include <QObject>

#include <functional>

namespace tunara::editor {
class TableEditModel;
}

namespace tunara::views {

class TimingGrid;

// Tints the data cells of a timing grid by their advance, on the scale the
// 3D surface uses, with black or white text to match; it follows every
// change of the editing model while the model holds this grid's kind.
class GridHeatMap : public QObject {
    Q_OBJECT
public:
    // `scale` is asked on every repaint of the tint, so a template loaded
    // later (another MAP sensor) is taken into account.
    GridHeatMap(TimingGrid &grid, editor::TableEditModel &model, editor::TableKind kind,
                std::function<AdvanceColourScale()> scale);

    void tintAll();

private:
    void tint(const editor::CellRect &cells);

    TimingGrid &m_grid;
    editor::TableEditModel &m_model;
    editor::TableKind m_kind;
    std::function<AdvanceColourScale()> m_scale;
};

}  // namespace tunara::views
