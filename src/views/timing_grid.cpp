#include "views/timing_grid.h"

#include "tables/table_axes.h"
#include "tables/timing_tables.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>

namespace tunara::views {

TimingGrid::TimingGrid(const QString &objectName, int rows, int columns, QWidget *parent)
    : QTableWidget(rows, columns, parent)
{
    setObjectName(objectName);
    // The headings live in row 0 and column 0 as cells, as the table
    // commands address them; Qt's own header bars stay hidden.
    horizontalHeader()->hide();
    verticalHeader()->hide();
    horizontalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setMinimumSectionSize(1);
    // The layout rule fits the cells to the grid; only a window too small
    // for readable cells needs the scroll bars.
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setToolTip(QStringLiteral("Click to select or double click to edit cell"));
    setWordWrap(false);
    // A point smaller than the window's text: the layout rule makes the
    // columns just wide enough for "10000".
    QFont small = font();
    small.setPointSizeF(std::max(6.0, small.pointSizeF() - 1));
    setFont(small);
    setTextElideMode(Qt::ElideNone);
    setStyleSheet(QStringLiteral("QTableView::item { padding: 0px 1px; }"));
}

QString TimingGrid::cellText(int row, int column) const
{
    const QTableWidgetItem *it = item(row, column);
    return it ? it->text() : QString();
}

void TimingGrid::setCellText(int row, int column, const QString &text)
{
    QTableWidgetItem *it = item(row, column);
    if (!it) {
        it = new QTableWidgetItem();
        it->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        if (row == 0 || column == 0) {
            it->setFlags(Qt::ItemIsEnabled);
            it->setBackground(palette().button());
            it->setTextAlignment(Qt::AlignCenter);
        }
        setItem(row, column, it);
    }
    it->setText(text);
}

void TimingGrid::setReadableCellSize(int columnWidth, int rowHeight)
{
    int headingWidth = 0;
    int dataWidth = 0;
    int lineHeight = 0;
    for (int r = 0; r < rowCount(); ++r) {
        for (int c = 0; c < columnCount(); ++c) {
            const QSize needed = neededCellSize(r, c);
            int &width = c == 0 ? headingWidth : dataWidth;
            width = std::max(width, needed.width());
            lineHeight = std::max(lineHeight, needed.height());
        }
    }
    for (int c = 0; c < columnCount(); ++c)
        setColumnWidth(c, std::max({0, columnWidth, c == 0 ? headingWidth : dataWidth}));
    for (int r = 0; r < rowCount(); ++r)
        setRowHeight(r, std::max({0, rowHeight, lineHeight}));
}

int TimingGrid::heightToReach(int rows) const
{
    const int line = std::max(neededCellSize(0, 0).height(), fontMetrics().height());
    return rows * line + horizontalScrollBar()->sizeHint().height() + 2 * frameWidth();
}

QSize TimingGrid::neededCellSize(int row, int column) const
{
    const QTableWidgetItem *it = item(row, column);
    if (!it || it->text().isEmpty())
        return {};
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    const QModelIndex index = indexFromItem(it);
    const QSize text = itemDelegateForIndex(index)->sizeHint(option, index);
    // The grid line is drawn inside the cell's size.
    const int line = showGrid() ? 1 : 0;
    return text + QSize(line, line);
}

void TimingGrid::setCurrentCellAt(int row, int column)
{
    setCurrentCell(row, column);
}

void TimingGrid::mousePressEvent(QMouseEvent *event)
{
    if (m_pressGuard && m_pressGuard()) {
        event->accept();
        return;
    }
    QTableWidget::mousePressEvent(event);
}

void TimingGrid::keyPressEvent(QKeyEvent *event)
{
    if (isHidden()) {
        event->ignore();
        return;
    }
    QTableWidget::keyPressEvent(event);
}

bool TimingGrid::edit(const QModelIndex &index, EditTrigger trigger, QEvent *event)
{
    return !isHidden() && QTableWidget::edit(index, trigger, event);
}

void setupGrid2D(TimingGrid &grid)
{
    grid.setRowCount(2);
    grid.setColumnCount(SpeedPoints + 1);
    grid.setCurrentCellAt(0, 0);
    grid.setCellText(0, 0, QStringLiteral("RPM"));
    grid.setCellText(1, 0, QStringLiteral("ADV"));
    for (int c = 1; c <= SpeedPoints; ++c)
        grid.setCellText(0, c, axes::speedHeading(c));
    grid.setCurrentCellAt(0, 0);
}

void setupGrid3D(TimingGrid &grid, std::uint8_t mapSensor)
{
    grid.setRowCount(PressureRows + 1);
    grid.setColumnCount(SpeedPoints + 1);
    grid.setCurrentCellAt(0, 0);
    grid.setCellText(0, 0, QStringLiteral("MAP/RPM"));
    for (int c = 1; c <= SpeedPoints; ++c)
        grid.setCellText(0, c, axes::speedHeading(c));
    for (int r = 1; r <= PressureRows; ++r)
        grid.setCellText(r, 0, axes::pressureHeading(mapSensor, r));
    grid.setCurrentCellAt(0, 0);
}

}  // namespace tunara::views
