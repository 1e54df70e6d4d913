#include "views/curve_2d_editor.h"

#include "views/chart_2d_view.h"
#include "views/timing_grid.h"
#include "editor/table_edit_model.h"
#include "views/table_grid_binding.h"

namespace tunara::views {

namespace {

bool plainLeft(Qt::MouseButton button, Qt::KeyboardModifiers modifiers)
{
    return button == Qt::LeftButton && modifiers == Qt::NoModifier;
}

}  // namespace

Curve2DEditor::Curve2DEditor(Chart2DView &chart, TableGridBinding &grid, editor::TableEditModel &model,
                             ChartGestureState &gesture)
    : QObject(&chart), m_chart(chart), m_grid(grid), m_model(model), m_gesture(gesture)
{
    connect(&chart, &Chart2DView::mousePressed, this, &Curve2DEditor::onPress);
    connect(&chart, &Chart2DView::mouseMoved, this, &Curve2DEditor::onMove);
    connect(&chart, &Chart2DView::mouseReleased, this, &Curve2DEditor::onRelease);
    connect(&chart, &Chart2DView::gestureStarted, this, [this] { m_gesture.ViewGesture = true; });
    connect(&model, &editor::TableEditModel::tableReset, this, [this] { showAll(); });
    connect(&model, &editor::TableEditModel::cellsChanged, this,
            [this](const editor::CellRect &cells) { showCells(cells); });
    connect(&grid, &TableGridBinding::currentDataCellChanged, this,
            [this](int, int column) { followCurrentColumn(column); });
}

bool Curve2DEditor::holdsCurve() const
{
    return m_model.kind() == editor::TableKind::Curve2D;
}

void Curve2DEditor::showAll()
{
    m_previewing = false;
    HitSeries = 0;
    HitPoint = 0;
    if (!holdsCurve())
        return;
    m_chart.setCurve(m_model.values());
    m_chart.setTriggerLine(m_model.trigTiming());
}

void Curve2DEditor::showCells(const editor::CellRect &cells)
{
    if (!holdsCurve())
        return;
    for (int c = cells.left; c <= cells.right(); ++c) {
        const double v = m_model.value(0, c);
        m_chart.setCurveValue(c + 1, v);
        if (m_chart.valueLabelPoint() == c + 1 && m_chart.isValueLabelVisible())
            m_chart.showValueLabel(m_model.displayText(v), c + 1);
    }
}

void Curve2DEditor::followCurrentColumn(int column)
{
    if (!holdsCurve())
        return;
    m_chart.showValueLabel(m_model.displayText(0, column), column + 1);
}

void Curve2DEditor::onPress(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, const QPointF &position)
{
    if (m_gesture.ViewGesture || !holdsCurve())
        return;
    const QPoint pixel = position.toPoint();
    DownY = pixel.y();
    if (!plainLeft(button, modifiers))
        return;
    commitPreview();  // a release that never came must not leave a value uncommitted
    const Chart2DView::Hit hit = m_chart.hitTest(pixel);
    if (!hit.insidePlot || hit.series != 1 || hit.point < 1 || hit.distance >= CatchRadius) {
        HitSeries = 0;
        HitPoint = 0;
        return;
    }
    HitSeries = 1;
    HitPoint = hit.point;
    m_grid.grid().setCurrentCellAt(1, HitPoint);
    DownValue = m_model.value(0, HitPoint - 1);
    m_chart.showValueLabel(m_model.displayText(DownValue), HitPoint);
}

void Curve2DEditor::onMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, const QPointF &position)
{
    if (m_gesture.ViewGesture || !holdsCurve() || buttons != Qt::LeftButton || modifiers != Qt::NoModifier)
        return;
    if (HitSeries != 1 || HitPoint == 0)
        return;
    const double v = editor::dragValue2D(DownValue, DownY, position.toPoint().y(), m_model.trigTiming());
    m_chart.setCurveValue(HitPoint, v);
    m_chart.showValueLabel(m_model.displayText(v), HitPoint);
    m_previewing = true;
}

void Curve2DEditor::onRelease(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, const QPointF &)
{
    if (m_gesture.ViewGesture) {
        m_gesture.ViewGesture = false;
        return;
    }
    // The previewed value is committed whatever the release looks like: the
    // chart shows it, so the table must hold it.
    commitPreview();
    if (plainLeft(button, modifiers) && HitSeries == 1 && HitPoint > 0)
        m_chart.hideValueLabel();
}

void Curve2DEditor::commitPreview()
{
    if (!m_previewing || !holdsCurve() || HitPoint < 1)
        return;
    m_previewing = false;
    m_model.setValue(0, HitPoint - 1, m_chart.curveValue(HitPoint), QStringLiteral("Drag"));
}

}  // namespace tunara::views
