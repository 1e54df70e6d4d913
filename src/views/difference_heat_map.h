#pragma once

#include "compare/image_diff.h"
#include "tables/timing_tables.h"

#include <QWidget>

#include <cstdint>
#include <vector>

namespace tunara::views {

// A small picture of a timing table in which every cell is coloured by how
// much it changed: warm where the advance grew, cool where it fell, the
// strongest colour at the largest change shown, unchanged cells pale. A
// cell's tooltip gives its place, both values and the change.
class DifferenceHeatMap : public QWidget {
    Q_OBJECT
public:
    explicit DifferenceHeatMap(QWidget *parent = nullptr);

    // The 2D curve (one row) or the 3D map (eight rows, the highest pressure
    // on top as in the grid) with these cells changed; values as `a` (before)
    // and `b` (after). mapSensor names the 3D map's pressure rows.
    void showCells(bool map3D, const std::vector<compare::CellDifference> &cells, std::uint8_t mapSensor);
    // No table: an empty, labelled frame.
    void clear(const QString &why);

    int changedCells() const { return int(m_cells.size()); }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    bool event(QEvent *event) override;

private:
    QRect cellRect(int row, int column) const;
    const compare::CellDifference *cellAt(int row, int column) const;
    int rows() const { return m_map3D ? PressureRows : 1; }

    bool m_shown = false;
    bool m_map3D = false;
    std::uint8_t m_mapSensor = 0;
    double m_largest = 0;
    QString m_why;
    std::vector<compare::CellDifference> m_cells;
};

}  // namespace tunara::views
