#pragma once

#include "editor/cell_block.h"

#include <QObject>
#include <QPointF>

namespace tunara::editor {
class TableEditModel;
}

namespace tunara::views {

class Chart2DView;
class TableGridBinding;

// Set while one of the charts' own gestures (zoom, rotation) runs: the
// table drags leave the mouse alone until the next button release.
struct ChartGestureState {
    bool ViewGesture = false;
};

// Makes the 2D chart a view of the editing model and lets the user drag the
// curve's points. A press within 15 pixels of a curve point inside the plot
// area catches it (the trigger line never); moving with the left button
// held previews the new value in the chart alone, one pixel up being 0.1
// degree on a 0.2 degree grid inside the window; the release commits it to
// the model as one step, and the grid follows from the model.
class Curve2DEditor : public QObject {
    Q_OBJECT
public:
    static constexpr double CatchRadius = 15.0;  // pixels

    Curve2DEditor(Chart2DView &chart, TableGridBinding &grid, editor::TableEditModel &model,
                  ChartGestureState &gesture);

    // The drag state between mouse events (0, 0 when nothing is caught).
    int HitSeries = 0;
    int HitPoint = 0;
    int DownY = 0;
    double DownValue = 0;

    void onPress(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, const QPointF &position);
    void onMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, const QPointF &position);
    void onRelease(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, const QPointF &position);

    // Whether a dragged value is on view but not yet committed.
    bool isPreviewing() const { return m_previewing; }

private:
    bool holdsCurve() const;
    void showAll();
    void showCells(const editor::CellRect &cells);
    void followCurrentColumn(int column);
    void commitPreview();

    Chart2DView &m_chart;
    TableGridBinding &m_grid;
    editor::TableEditModel &m_model;
    ChartGestureState &m_gesture;
    bool m_previewing = false;
};

}  // namespace tunara::views
