#include "views/map_3d_editor.h"

#include "views/chart_3d_view.h"
#include "views/timing_grid.h"
#include "editor/map_edit_rules.h"
#include "editor/table_edit_model.h"
#include "views/curve_2d_editor.h"
#include "views/table_grid_binding.h"

#include <optional>

namespace tunara::views {

using editor::TableEditModel;

Map3DEditor::Map3DEditor(Chart3DView &chart, TableGridBinding &grid, TableEditModel &model,
                         ChartGestureState &gesture)
    : QObject(&chart), m_chart(chart), m_grid(grid), m_model(model), m_gesture(gesture)
{
    connect(&chart, &Chart3DView::chartMouseDown, this, &Map3DEditor::onPress);
    connect(&chart, &Chart3DView::chartMouseMove, this, &Map3DEditor::onMove);
    connect(&chart, &Chart3DView::chartMouseUp, this, &Map3DEditor::onRelease);
    connect(&chart, &Chart3DView::viewGestureStarted, this, [this] { m_gesture.ViewGesture = true; });
    connect(&model, &TableEditModel::tableReset, this, [this] { onTableReset(); });
    connect(&model, &TableEditModel::cellsChanged, this,
            [this](const editor::CellRect &cells) { refreshLabel(cells); });
}

bool Map3DEditor::holdsMap() const
{
    return m_model.kind() == editor::TableKind::Map3D;
}

int Map3DEditor::modelRow() const
{
    return TableEditModel::rowOfPressureIndex(HitCol);
}

void Map3DEditor::forget()
{
    HitRow = 0;
    HitCol = 0;
    m_pressed = Gesture::None;
    m_previewing = false;
}

void Map3DEditor::onTableReset()
{
    forget();
    if (!holdsMap())
        return;
    // The whole window stays on the scale, so a drag never rescales the
    // picture under the mouse.
    const editor::AdvanceWindow w = m_model.editWindow();
    m_chart.setEditWindow(w.low, w.high);
}

void Map3DEditor::refreshLabel(const editor::CellRect &cells)
{
    const charts::SurfaceLabel &label = m_chart.valueLabel();
    if (!holdsMap() || !label.visible)
        return;
    const int row = TableEditModel::rowOfPressureIndex(label.pressureIndex);
    const int column = label.point - 1;
    if (cells.contains(row, column))
        m_chart.showValueLabel(m_model.displayText(row, column), label.point, label.pressureIndex);
}

bool Map3DEditor::catchPoint(const QPoint &pixel)
{
    const charts::SurfaceHit hit = m_chart.hitTest(pixel);
    if (!hit.insidePlot || hit.point < 1 || hit.pressureIndex < 1 || hit.distance >= CatchRadius) {
        HitRow = 0;
        HitCol = 0;
        return false;
    }
    HitRow = hit.point;
    HitCol = hit.pressureIndex;
    return true;
}

void Map3DEditor::onPress(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, const QPoint &pixel)
{
    if (m_gesture.ViewGesture || !holdsMap() || button != Qt::LeftButton)
        return;
    commitPreview();  // a release that never came must not leave a value uncommitted
    if (modifiers == Qt::NoModifier) {
        m_pressed = catchPoint(pixel) ? Gesture::Point : Gesture::None;
        if (m_pressed == Gesture::Point) {
            m_grid.grid().setCurrentCellAt(PressureRows + 1 - HitCol, HitRow);
            m_chart.showValueLabel(m_model.displayText(modelRow(), HitRow - 1), HitRow, HitCol);
        }
    } else if (modifiers == Qt::ShiftModifier) {
        m_pressed = catchPoint(pixel) ? Gesture::Shift : Gesture::None;
        if (m_pressed == Gesture::Shift) {
            ShiftDelta = 0;
            m_chart.showValueLabel(editor::formatValue(0.0), HitRow, HitCol);
        }
        m_grid.grid().setCurrentCellAt(0, 0);
    } else {
        m_pressed = Gesture::None;  // Ctrl, Alt: the drag must change nothing
    }
}

void Map3DEditor::onMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, const QPoint &pixel)
{
    if (m_gesture.ViewGesture || !holdsMap() || buttons != Qt::LeftButton || HitRow == 0 || HitCol == 0)
        return;
    const std::optional<double> z = m_chart.valueUnder(HitRow, HitCol, pixel);
    if (!z)
        return;
    if (m_pressed == Gesture::Point && modifiers == Qt::NoModifier) {
        const double v = editor::dragValue3D(*z, m_model.trigTiming());
        m_preview = v;
        m_chart.setValue(HitRow, HitCol, v);
        m_chart.showValueLabel(m_model.displayText(v), HitRow, HitCol);
        m_previewing = true;
    } else if (m_pressed == Gesture::Shift && modifiers == Qt::ShiftModifier) {
        // The surface stays put: only the label tells the offset.
        ShiftDelta = editor::shiftOffset3D(*z, m_model.value(modelRow(), HitRow - 1));
        m_chart.showValueLabel(editor::formatValue(ShiftDelta), HitRow, HitCol);
    }
}

void Map3DEditor::onRelease(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, const QPoint &)
{
    if (m_gesture.ViewGesture) {
        m_gesture.ViewGesture = false;
        return;
    }
    if (button != Qt::LeftButton || !holdsMap())
        return;
    // A previewed value is committed whatever the release looks like: the
    // chart shows it, so the table must hold it.
    commitPreview();
    if (m_pressed == Gesture::Shift && modifiers == Qt::ShiftModifier)
        applyShift();
    if (m_pressed != Gesture::None)
        m_chart.hideValueLabel();
    m_pressed = Gesture::None;
}

void Map3DEditor::commitPreview()
{
    if (!m_previewing || !holdsMap() || HitRow < 1 || HitCol < 1)
        return;
    m_previewing = false;
    m_model.setValue(modelRow(), HitRow - 1, m_preview, QStringLiteral("Drag"));
}

void Map3DEditor::applyShift()
{
    // No offset, no step: a Shift-click leaves the map exactly as it was.
    if (ShiftDelta == 0)
        return;
    const editor::CellRect all = m_model.allCells();
    m_model.setBlock(all, editor::shiftedMap(m_model.block(all), ShiftDelta, m_model.trigTiming()),
                     QStringLiteral("Shift Map"));
}

}  // namespace tunara::views
