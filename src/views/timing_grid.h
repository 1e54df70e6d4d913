#pragma once

#include <QTableWidget>

#include <cstdint>
#include <functional>

namespace tunara::views {

// A timing-table grid: row 0 and column 0 are fixed heading cells, the rest
// are data cells. The table views fill and edit the data cells.
class TimingGrid : public QTableWidget {
    Q_OBJECT
public:
    TimingGrid(const QString &objectName, int rows, int columns, QWidget *parent = nullptr);

    // Cell text by (row, column), counted from 0 as the headings are.
    QString cellText(int row, int column) const;
    void setCellText(int row, int column, const QString &text);
    // The same sizes, each raised to what the cells need to show their text
    // whole: the heading column to its widest heading, the data columns
    // together to the widest of them (the speed 10000), the rows to a line.
    // The grid scrolls when the cells no longer fit.
    void setReadableCellSize(int columnWidth, int rowHeight);
    // The height that shows `rows` rows of readable text with the
    // horizontal scroll bar and the frame: a grid this tall can be scrolled
    // to every row and column.
    int heightToReach(int rows) const;

    // Current cell, as the headings are written with it at (0, 0).
    void setCurrentCellAt(int row, int column);

    // While the guard answers true, mouse presses on the cells are ignored:
    // an entry that was refused keeps its editor open for correction
    // rather than be dropped by a click on another cell.
    void setPressGuard(std::function<bool()> guard) { m_pressGuard = std::move(guard); }

    // A cell editor is open.
    bool isEditing() const { return state() == QAbstractItemView::EditingState; }

protected:
    void mousePressEvent(QMouseEvent *event) override;
    // A hidden grid takes no keys and opens no editor: Qt may leave the
    // focus on a grid hidden with its table, and a typed key would then
    // open an editor on a table that is gone.
    void keyPressEvent(QKeyEvent *event) override;
    bool edit(const QModelIndex &index, EditTrigger trigger, QEvent *event) override;

private:
    QSize neededCellSize(int row, int column) const;
    std::function<bool()> m_pressGuard;
};

// The 2D grid: "RPM" / "ADV" and the 21 engine speeds 0 .. 10000.
void setupGrid2D(TimingGrid &grid);

// The 3D grid: "MAP/RPM", the engine speeds, and the pressure labels of a
// MAP sensor byte (0 = 1 bar at start-up) down column 0.
void setupGrid3D(TimingGrid &grid, std::uint8_t mapSensor);

}  // namespace tunara::views
