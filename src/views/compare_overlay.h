#pragma once

#include "compare/image_diff.h"
#include "editor/table_rules.h"
#include "image/module_parameters.h"
#include "tables/timing_tables.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <optional>
#include <set>
#include <utility>
#include <vector>

class QLineSeries;

namespace tunara::editor {
class TableEditModel;
}

namespace tunara::views {

class Chart2DView;
class Chart3DView;
class TimingGrid;
class CompareCellOutlines;

// A table of another data file, the same kind as the open table.
struct CompareSource {
    editor::TableKind kind = editor::TableKind::None;
    QString name;  // the file as the legend and the tooltips name it
    int trigTiming = 0;
    Table2D table2D;
    Table3D table3D;
    // For the report's page of changes: the file's parameters and when it
    // was written.
    ModuleParameters params;
    QString date;
};

// Shows another file's table beside the open one: on the 2D chart as a
// dashed third series, on the 3D surface as a wireframe, and in the grid by
// an outline round every cell whose stored advance differs, its tooltip
// giving the other value and the difference. It follows every change of
// the editing model and ends when the model's table is opened again or
// closed (a save closes it too).
class CompareOverlay : public QObject {
    Q_OBJECT
public:
    CompareOverlay(Chart2DView &chart2D, Chart3DView &chart3D, TimingGrid &grid2D, TimingGrid &grid3D,
                   editor::TableEditModel &model);
    ~CompareOverlay() override;

    // False (nothing shown) when no table is open or the source is of the
    // other kind.
    bool start(const CompareSource &source);
    void stop();
    bool isActive() const { return m_active; }
    const CompareSource &source() const { return m_source; }

    // The cells that differ now, live value as a, the other file's as b
    // (both as they are stored).
    const std::vector<compare::CellDifference> &differences() const { return m_differences; }
    // The grid cells (row, column as the headings count) outlined now.
    std::set<std::pair<int, int>> outlinedCells() const;

    // The tooltip of a differing cell.
    static QString cellToolTip(const QString &name, const QString &otherText, double difference);

signals:
    void activeChanged(bool active);

private:
    void refresh();
    void refreshGrid();
    void clearGrid();
    void show2DSeries();
    void remove2DSeries();
    void setWireframe(const std::optional<Table3D> &values);

    // The views may go before the model when the window closes.
    QPointer<Chart2DView> m_chart2D;
    QPointer<Chart3DView> m_chart3D;
    QPointer<CompareCellOutlines> m_outlines2D;
    QPointer<CompareCellOutlines> m_outlines3D;
    editor::TableEditModel &m_model;
    QPointer<QLineSeries> m_series;
    CompareSource m_source;
    std::vector<compare::CellDifference> m_differences;
    bool m_active = false;
};

}  // namespace tunara::views
