#pragma once

#include <QObject>

namespace tunara::editor {
class TableEditModel;
}

namespace tunara::views {

class Chart3DView;
class TableGridBinding;

// Keeps the 3D chart showing the editing model's map, and its value label
// on the grid's current data cell. The surface's own editing gestures are
// added on top of this.
class Map3DDisplay : public QObject {
    Q_OBJECT
public:
    Map3DDisplay(Chart3DView &chart, TableGridBinding &grid, editor::TableEditModel &model);

private:
    void showSurface();
    void followCurrentCell(int row, int column);

    Chart3DView &m_chart;
    editor::TableEditModel &m_model;
};

}  // namespace tunara::views
