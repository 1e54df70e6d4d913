#include "views/compare_overlay.h"

#include "views/chart_2d_view.h"
#include "views/chart_3d_view.h"
#include "views/timing_grid.h"
#include "core/numbers.h"
#include "core/shown_numbers.h"
#include "editor/table_edit_model.h"
#include "tables/table_axes.h"

#include <QChart>
#include <QEvent>
#include <QHeaderView>
#include <QLineSeries>
#include <QPainter>
#include <QScrollBar>
#include <QValueAxis>

#include <set>
#include <utility>

namespace tunara::views {

// Outlines drawn over a grid's cells, in a transparent layer on the grid's
// viewport that lets every mouse event through to the cells.
class CompareCellOutlines : public QWidget {
public:
    explicit CompareCellOutlines(TimingGrid &grid) : QWidget(grid.viewport()), m_grid(grid)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        setGeometry(grid.viewport()->rect());
        grid.viewport()->installEventFilter(this);
        const auto repaint = [this] { update(); };
        connect(grid.horizontalScrollBar(), &QScrollBar::valueChanged, this, repaint);
        connect(grid.verticalScrollBar(), &QScrollBar::valueChanged, this, repaint);
        connect(grid.horizontalHeader(), &QHeaderView::sectionResized, this, repaint);
        connect(grid.verticalHeader(), &QHeaderView::sectionResized, this, repaint);
        show();
    }

    // Grid cells (row, column) counted as the headings are.
    void setCells(std::set<std::pair<int, int>> cells)
    {
        m_cells = std::move(cells);
        raise();
        update();
    }
    const std::set<std::pair<int, int>> &cells() const { return m_cells; }
    TimingGrid &grid() const { return m_grid; }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Resize)
            setGeometry(m_grid.viewport()->rect());
        return false;
    }

    void paintEvent(QPaintEvent *) override
    {
        if (m_cells.empty())
            return;
        QPainter p(this);
        p.setBrush(Qt::NoBrush);
        for (const auto &[row, column] : m_cells) {
            const QRect cell = m_grid.visualRect(m_grid.model()->index(row, column));
            if (cell.isEmpty())
                continue;
            // Black outside, white inside: seen on every tint of the heat map.
            p.setPen(QPen(Qt::black, 2));
            p.drawRect(cell.adjusted(1, 1, -1, -1));
            p.setPen(QPen(Qt::white, 1));
            p.drawRect(cell.adjusted(2, 2, -3, -3));
        }
    }

private:
    TimingGrid &m_grid;
    std::set<std::pair<int, int>> m_cells;
};

namespace {

// The grid cell of a difference: the 2D curve is grid row 1; the 3D map has
// pressure index 8 on grid row 1.
std::pair<int, int> gridCellOf(const compare::CellDifference &d)
{
    const int row = d.pressureIndex == 0 ? 1 : editor::TableEditModel::rowOfPressureIndex(d.pressureIndex) + 1;
    return {row, d.point};
}

}  // namespace

CompareOverlay::CompareOverlay(Chart2DView &chart2D, Chart3DView &chart3D, TimingGrid &grid2D, TimingGrid &grid3D,
                               editor::TableEditModel &model)
    : QObject(&model),
      m_chart2D(&chart2D),
      m_chart3D(&chart3D),
      m_outlines2D(new CompareCellOutlines(grid2D)),
      m_outlines3D(new CompareCellOutlines(grid3D)),
      m_model(model)
{
    // Opening a table, closing it and saving it (which closes it) all reset
    // the model: the comparison belonged to the table that was on screen.
    connect(&model, &editor::TableEditModel::tableReset, this, [this] { stop(); });
    connect(&model, &editor::TableEditModel::cellsChanged, this, [this] { refresh(); });
}

CompareOverlay::~CompareOverlay() = default;

bool CompareOverlay::start(const CompareSource &source)
{
    if (!m_model.isOpen() || source.kind != m_model.kind())
        return false;
    stop();
    m_source = source;
    m_active = true;
    if (source.kind == editor::TableKind::Curve2D)
        show2DSeries();
    else
        setWireframe(source.table3D);
    refresh();
    emit activeChanged(true);
    return true;
}

void CompareOverlay::stop()
{
    if (!m_active)
        return;
    m_active = false;
    remove2DSeries();
    setWireframe(std::nullopt);
    m_differences.clear();
    clearGrid();
    emit activeChanged(false);
}

void CompareOverlay::setWireframe(const std::optional<Table3D> &values)
{
    if (m_chart3D)
        m_chart3D->setWireframe(values);
}

void CompareOverlay::refresh()
{
    if (!m_active)
        return;
    const int trig = m_model.trigTiming();
    if (m_source.kind == editor::TableKind::Curve2D) {
        Table2D live;
        m_model.copyTo(live);
        m_differences = compare::diffAsStored(live, trig, m_source.table2D, m_source.trigTiming);
    } else {
        Table3D live;
        m_model.copyTo(live);
        m_differences = compare::diffAsStored(live, trig, m_source.table3D, m_source.trigTiming);
    }
    refreshGrid();
}

QString CompareOverlay::cellToolTip(const QString &name, const QString &otherText, double difference)
{
    const QString sign = difference > 0 ? QStringLiteral("+") : QString();
    return QStringLiteral("%1: %2 (difference %3%4)")
        .arg(name, otherText, sign, numbers::shown(difference, QStringLiteral("#0.00")));
}

void CompareOverlay::refreshGrid()
{
    clearGrid();
    CompareCellOutlines *outlines = m_source.kind == editor::TableKind::Map3D ? m_outlines3D : m_outlines2D;
    if (!outlines)
        return;
    TimingGrid &grid = outlines->grid();
    std::set<std::pair<int, int>> cells;
    for (const compare::CellDifference &d : m_differences) {
        const auto cell = gridCellOf(d);
        cells.insert(cell);
        if (QTableWidgetItem *item = grid.item(cell.first, cell.second)) {
            const QString other = editor::displayText(m_source.kind, m_source.trigTiming, d.b);
            item->setToolTip(cellToolTip(m_source.name, other, d.difference()));
        }
    }
    outlines->setCells(std::move(cells));
}

std::set<std::pair<int, int>> CompareOverlay::outlinedCells() const
{
    std::set<std::pair<int, int>> cells;
    for (const CompareCellOutlines *outlines : {m_outlines2D.data(), m_outlines3D.data()})
        if (outlines)
            cells.insert(outlines->cells().begin(), outlines->cells().end());
    return cells;
}

void CompareOverlay::clearGrid()
{
    for (CompareCellOutlines *outlines : {m_outlines2D.data(), m_outlines3D.data()}) {
        if (!outlines)
            continue;
        for (const auto &[row, column] : outlines->cells())
            if (QTableWidgetItem *item = outlines->grid().item(row, column))
                item->setToolTip(QString());
        outlines->setCells({});
    }
}

void CompareOverlay::show2DSeries()
{
    remove2DSeries();
    if (!m_chart2D)
        return;
    QChart *chart = m_chart2D->chart();
    auto *series = new QLineSeries();
    for (int p = 1; p <= SpeedPoints; ++p)
        series->append(axes::rpmAtPoint(p), m_source.table2D(p, 1));
    QPen pen(QColor(0x30, 0x30, 0x30));
    pen.setWidth(2);
    pen.setStyle(Qt::DashLine);
    series->setPen(pen);
    series->setName(m_source.name);
    chart->addSeries(series);
    for (QAbstractAxis *axis : m_chart2D->curveSeries()->attachedAxes())
        series->attachAxis(axis);
    m_series = series;
}

void CompareOverlay::remove2DSeries()
{
    if (!m_series || !m_chart2D)
        return;
    m_chart2D->chart()->removeSeries(m_series);
    delete m_series;
}

}  // namespace tunara::views
