#include "views/table_grid_binding.h"

#include "views/timing_grid.h"
#include "ui_port/user_interface.h"
#include "editor/table_edit_model.h"
#include "views/timing_cell_delegate.h"

#include <QShortcut>

namespace tunara::views {

TableGridBinding::TableGridBinding(TimingGrid &grid, editor::TableEditModel &model, editor::TableKind kind,
                                   ui::UserInterface &ui, QWidget *messageOwner)
    : QObject(&grid), m_grid(grid), m_model(model), m_kind(kind), m_ui(ui), m_messageOwner(messageOwner),
      m_normalColours(grid.palette())
{
    m_delegate = new TimingCellDelegate(
        [this](int row, int column, const QString &text) {
            return holdsMyKind() && row > 0 && column > 0 &&
                   editor::checkTypedEntry(m_kind, m_model.trigTiming(), text).has_value();
        },
        [this](int row, int column, const QString &text) { m_model.enterText(row - 1, column - 1, text); },
        [this] {
            m_ui.messageBox(m_messageOwner, m_model.entryRefusalText(), editor::entryRefusalTitle(), ui::Buttons::OK,
                            ui::Icon::Critical);
        },
        &grid);
    grid.setItemDelegate(m_delegate);
    grid.setPressGuard([this] { return m_delegate->holdsRefusedEntry(); });
    grid.setContextMenuPolicy(Qt::CustomContextMenu);
    connect(&grid, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &pos) { emit contextMenuRequested(m_grid.viewport()->mapToGlobal(pos)); });
    // Shift+F10 opens the menu as the Menu key does, at the current cell.
    auto *menuKey = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F10), &grid, nullptr, nullptr, Qt::WidgetShortcut);
    connect(menuKey, &QShortcut::activated, this, [this] {
        const QRect cell = m_grid.visualRect(m_grid.currentIndex());
        const QPoint at = cell.isValid() ? cell.center() : m_grid.viewport()->rect().center();
        emit contextMenuRequested(m_grid.viewport()->mapToGlobal(at));
    });
    connect(&grid, &QTableWidget::currentCellChanged, this,
            [this](int row, int column, int, int) { onCurrentCellChanged(row, column); });
    connect(&model, &editor::TableEditModel::tableReset, this, [this] { showAllValues(); });
    connect(&model, &editor::TableEditModel::cellsChanged, this,
            [this](const editor::CellRect &cells) { showValues(cells); });
    setHighlightShown(false);
}

bool TableGridBinding::holdsMyKind() const
{
    return m_model.kind() == m_kind;
}

void TableGridBinding::showAllValues()
{
    if (holdsMyKind())
        showValues(m_model.allCells());
}

void TableGridBinding::showValues(const editor::CellRect &cells)
{
    if (!holdsMyKind())
        return;
    for (int r = cells.top; r <= cells.bottom(); ++r)
        for (int c = cells.left; c <= cells.right(); ++c)
            m_grid.setCellText(r + 1, c + 1, m_model.displayText(r, c));
}

void TableGridBinding::onCurrentCellChanged(int row, int column)
{
    const bool dataCell = row > 0 && column > 0;
    setHighlightShown(dataCell);
    if (dataCell && holdsMyKind())
        emit currentDataCellChanged(row - 1, column - 1);
}

void TableGridBinding::setHighlightShown(bool shown)
{
    // With a heading cell current the selection takes the normal cell
    // colours, so nothing looks selected.
    QPalette p = m_grid.palette();
    const QPalette &normal = m_normalColours;
    p.setColor(QPalette::Highlight, shown ? normal.color(QPalette::Highlight) : normal.color(QPalette::Base));
    p.setColor(QPalette::HighlightedText,
               shown ? normal.color(QPalette::HighlightedText) : normal.color(QPalette::Text));
    m_grid.setPalette(p);
}

}  // namespace tunara::views
