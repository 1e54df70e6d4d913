#pragma once

#include "editor/cell_block.h"

#include <QObject>
#include <QPoint>

namespace tunara::editor {
class TableEditModel;
}

namespace tunara::views {

class Chart3DView;
class TableGridBinding;
struct ChartGestureState;

// The user's gestures on the 3D surface.
//
// A left press within 15 pixels of a grid point inside the plot catches it;
// what the press caught and with which keys decides the gesture until the
// release:
//   - no key: the point follows the mouse along its upright line, shown in
//     the chart alone (0.2 degree steps inside the window), and the release
//     commits it to the model as one step;
//   - Shift: the surface stays, the label shows the whole-map offset
//     (-5 .. +5), and a release with Shift still held moves all 168 cells by
//     it as one step;
//   - Ctrl, Alt or any other key: nothing.
// A right-button drag turns the view (the chart's own gesture): the table
// leaves the mouse alone until that button is released.
class Map3DEditor : public QObject {
    Q_OBJECT
public:
    static constexpr double CatchRadius = 15.0;  // pixels

    Map3DEditor(Chart3DView &chart, TableGridBinding &grid, editor::TableEditModel &model,
                ChartGestureState &gesture);

    // The drag state between mouse events (0, 0 when nothing is caught).
    int HitRow = 0;  // speed point 1..21 (chart row)
    int HitCol = 0;  // pressure index 1..8 (chart column)
    double ShiftDelta = 0;

    void onPress(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, const QPoint &pixel);
    void onMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, const QPoint &pixel);
    void onRelease(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, const QPoint &pixel);

    bool isPreviewing() const { return m_previewing; }

private:
    enum class Gesture { None, Point, Shift };

    bool holdsMap() const;
    bool catchPoint(const QPoint &pixel);
    void forget();
    void onTableReset();
    void refreshLabel(const editor::CellRect &cells);
    void commitPreview();
    void applyShift();
    int modelRow() const;

    Chart3DView &m_chart;
    TableGridBinding &m_grid;
    editor::TableEditModel &m_model;
    ChartGestureState &m_gesture;
    Gesture m_pressed = Gesture::None;
    bool m_previewing = false;
    double m_preview = 0;  // the dragged value, committed at the release
};

}  // namespace tunara::views
