#include "views/difference_heat_map.h"

#include "core/shown_numbers.h"
#include "tables/table_axes.h"
#include "tables/timing_tables.h"

#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>

#include <algorithm>
#include <cmath>

namespace tunara::views {

namespace {

constexpr int Columns = SpeedPoints;
constexpr int LabelWidth = 34;   // the row labels at the left
constexpr int LabelHeight = 16;  // the speed labels below
constexpr int CellWidth = 18;
constexpr int CellHeight = 14;

QString degrees(double value)
{
    return numbers::shownFixed(value, 2);
}

// The colour a change is drawn in, with the largest change shown.
QColor changeColour(double change, double largest)
{
    if (change == 0 || largest <= 0)
        return QColor(0xF2, 0xF2, 0xF2);
    // Even the smallest change stands out from an unchanged cell.
    const double strength = 0.25 + 0.75 * std::min(1.0, std::abs(change) / largest);
    const QColor end = change > 0 ? QColor(0xD7, 0x30, 0x27) : QColor(0x21, 0x66, 0xAC);
    const auto mix = [strength](int from, int to) { return int(std::lround(from + (to - from) * strength)); };
    return QColor(mix(0xFF, end.red()), mix(0xFF, end.green()), mix(0xFF, end.blue()));
}

}  // namespace

DifferenceHeatMap::DifferenceHeatMap(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("picHistoryHeatMap"));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
}

void DifferenceHeatMap::showCells(bool map3D, const std::vector<compare::CellDifference> &cells, std::uint8_t mapSensor)
{
    m_shown = true;
    m_map3D = map3D;
    m_mapSensor = mapSensor;
    m_cells = cells;
    m_largest = 0;
    for (const compare::CellDifference &c : cells)
        m_largest = std::max(m_largest, std::abs(c.difference()));
    m_why.clear();
    updateGeometry();
    update();
}

void DifferenceHeatMap::clear(const QString &why)
{
    m_shown = false;
    m_cells.clear();
    m_why = why;
    update();
}

QSize DifferenceHeatMap::sizeHint() const
{
    return QSize(LabelWidth + Columns * CellWidth + 2, PressureRows * CellHeight + LabelHeight + 2);
}

QSize DifferenceHeatMap::minimumSizeHint() const
{
    return QSize(LabelWidth + Columns * 8, PressureRows * 8 + LabelHeight);
}

QRect DifferenceHeatMap::cellRect(int row, int column) const
{
    const double w = double(width() - LabelWidth - 1) / Columns;
    const double h = std::min(double(height() - LabelHeight - 1) / PressureRows, w);
    const int left = LabelWidth + int(column * w);
    const int top = int(row * h);
    return QRect(left, top, LabelWidth + int((column + 1) * w) - left, int((row + 1) * h) - top);
}

const compare::CellDifference *DifferenceHeatMap::cellAt(int row, int column) const
{
    const int pressureIndex = m_map3D ? axes::pressureIndexOfGridRow(row + 1) : 0;
    const auto it = std::find_if(m_cells.begin(), m_cells.end(), [&](const compare::CellDifference &c) {
        return c.point == column + 1 && c.pressureIndex == pressureIndex;
    });
    return it == m_cells.end() ? nullptr : &*it;
}

void DifferenceHeatMap::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    if (!m_shown) {
        painter.setPen(palette().color(QPalette::PlaceholderText));
        painter.drawText(rect(), Qt::AlignCenter | Qt::TextWordWrap, m_why);
        return;
    }
    QFont small = font();
    small.setPointSizeF(std::max(6.0, small.pointSizeF() * 0.8));
    painter.setFont(small);
    painter.setPen(palette().color(QPalette::Mid));
    for (int row = 0; row < rows(); ++row) {
        for (int column = 0; column < Columns; ++column) {
            const compare::CellDifference *cell = cellAt(row, column);
            const QRect r = cellRect(row, column);
            painter.fillRect(r, changeColour(cell ? cell->difference() : 0, m_largest));
            painter.drawRect(r.adjusted(0, 0, -1, -1));
        }
        const QString label = m_map3D ? QString::number(axes::pressureLabel(m_mapSensor, row + 1)) : QStringLiteral("ADV");
        const QRect first = cellRect(row, 0);
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(QRect(0, first.top(), LabelWidth - 4, first.height()), Qt::AlignRight | Qt::AlignVCenter, label);
        painter.setPen(palette().color(QPalette::Mid));
    }
    painter.setPen(palette().color(QPalette::WindowText));
    const int below = cellRect(rows() - 1, 0).bottom() + 2;
    for (int column = 0; column < Columns; column += 4) {
        const QRect r = cellRect(0, column);
        const int left = std::min(r.center().x() - 30, width() - 60);
        painter.drawText(QRect(left, below, 60, LabelHeight),
                         (left < r.center().x() - 30 ? Qt::AlignRight : Qt::AlignHCenter) | Qt::AlignTop,
                         QString::number(axes::rpmAtPoint(column + 1)));
    }
}

bool DifferenceHeatMap::event(QEvent *event)
{
    if (event->type() != QEvent::ToolTip || !m_shown)
        return QWidget::event(event);
    const QPoint at = static_cast<QHelpEvent *>(event)->pos();
    for (int row = 0; row < rows(); ++row) {
        for (int column = 0; column < Columns; ++column) {
            if (!cellRect(row, column).contains(at))
                continue;
            QString place = QStringLiteral("%1 RPM").arg(axes::rpmAtPoint(column + 1));
            if (m_map3D)
                place += QStringLiteral(", MAP %1").arg(axes::pressureLabel(m_mapSensor, row + 1));
            const compare::CellDifference *cell = cellAt(row, column);
            QToolTip::showText(static_cast<QHelpEvent *>(event)->globalPos(),
                               cell ? QStringLiteral("%1: %2° → %3° (%4%5°)")
                                          .arg(place, degrees(cell->a), degrees(cell->b),
                                               cell->difference() > 0 ? QStringLiteral("+") : QString(),
                                               degrees(cell->difference()))
                                    : QStringLiteral("%1: unchanged").arg(place),
                               this);
            return true;
        }
    }
    QToolTip::hideText();
    return true;
}

}  // namespace tunara::views
