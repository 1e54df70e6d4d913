#include "app/commands/selection_commands.h"

#include "app/commands/copy_buffer.h"
#include "app/main_actions.h"
#include "app/window_shell.h"
#include "editor/selection_ops.h"
#include "editor/table_edit_model.h"
#include "ui_port/user_interface.h"
#include "views/chart_2d_view.h"
#include "views/chart_3d_view.h"
#include "views/timing_grid.h"
#include "views/grid_heat_map.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>

namespace tunara::ui {

using editor::CellRect;
using editor::TableKind;

SelectionCommands::SelectionCommands(editor::TableEditModel &model, TableViews views, const MainActions &actions,
                                     UserInterface &ui, CopyBuffer &copy, WindowShell &shell, QObject *parent)
    : QObject(parent), m_model(model), m_views(views), m_actions(actions), m_ui(ui), m_copy(copy), m_shell(shell)
{
    // One rectangle at a time, as the commands read it.
    views.grid2D.setSelectionMode(QAbstractItemView::ContiguousSelection);
    views.grid3D.setSelectionMode(QAbstractItemView::ContiguousSelection);
    views.grid2D.installEventFilter(this);
    views.grid3D.installEventFilter(this);
    registerCommands();
    installHeatMaps();
    installCellStatus();
    connect(&model, &editor::TableEditModel::tableReset, this, [this] {
        updateEditMenuItems();
        m_shell.clearStatusMessage();
    });
    // The note on limited values speaks of the last step only: an undo or
    // a redo takes it away (commit() shows it after its own step).
    connect(&model, &editor::TableEditModel::historyChanged, this,
            [this] { m_shell.clearStatusMessage(); });
}

void SelectionCommands::registerCommands()
{
    const MainActions &a = m_actions;
    for (const TableKind kind : {TableKind::Curve2D, TableKind::Map3D}) {
        const GridPopupActions &p = popUpOf(kind);
        connect(p.copy, &QAction::triggered, this, [this, kind] { copy(kind); });
        connect(p.paste, &QAction::triggered, this, [this, kind] { paste(kind); });
        connect(p.modify, &QAction::triggered, this, [this, kind] { modify(kind); });
        connect(p.interpolate, &QAction::triggered, this, [this, kind] { interpolate(kind); });
        connect(p.smooth, &QAction::triggered, this, [this, kind] { smooth(kind); });
    }
    connect(a.interpolate, &QAction::triggered, this, [this] { interpolate(m_model.kind()); });
    connect(a.smooth, &QAction::triggered, this, [this] { smooth(m_model.kind()); });
}

void SelectionCommands::updateEditMenuItems()
{
    const bool open = m_model.isOpen();
    m_actions.interpolate->setEnabled(open);
    m_actions.smooth->setEnabled(open);
}
// ---- the selection ----

const GridPopupActions &SelectionCommands::popUpOf(TableKind kind) const
{
    return kind == TableKind::Map3D ? m_actions.popUp3D : m_actions.popUp2D;
}

views::TimingGrid *SelectionCommands::gridOf(TableKind kind) const
{
    return kind == TableKind::Map3D ? &m_views.grid3D : &m_views.grid2D;
}

bool SelectionCommands::holds(TableKind kind) const
{
    return kind != TableKind::None && m_model.kind() == kind;
}

std::optional<CellRect> SelectionCommands::selectedCells(TableKind kind) const
{
    if (!holds(kind))
        return std::nullopt;
    const views::TimingGrid *grid = gridOf(kind);
    const QList<QTableWidgetSelectionRange> ranges = grid->selectedRanges();
    if (ranges.isEmpty())
        return std::nullopt;
    const QTableWidgetSelectionRange &range = ranges.first();
    // Headings carry no values: a selection that reaches into them keeps
    // its data cells only. The 2D commands work on the advance row whatever
    // rows are selected.
    const int r1 = kind == TableKind::Curve2D ? 1 : std::max(1, range.topRow());
    const int r2 = kind == TableKind::Curve2D ? 1 : range.bottomRow();
    const int c1 = std::max(1, range.leftColumn());
    const int c2 = range.rightColumn();
    if (r2 < r1 || c2 < c1)
        return std::nullopt;
    return CellRect{r1 - 1, c1 - 1, r2 - r1 + 1, c2 - c1 + 1};
}

void SelectionCommands::selectInGrid(TableKind kind, const CellRect &cells)
{
    views::TimingGrid *grid = gridOf(kind);
    grid->setCurrentCell(cells.top + 1, cells.left + 1);
    grid->clearSelection();
    grid->setRangeSelected(
        QTableWidgetSelectionRange(cells.top + 1, cells.left + 1, cells.bottom() + 1, cells.right() + 1), true);
}

void SelectionCommands::hideValueLabel(TableKind kind)
{
    if (kind == TableKind::Map3D)
        m_views.chart3D.hideValueLabel();
    else
        m_views.chart2D.hideValueLabel();
}

void SelectionCommands::show(const editor::TableEdit &edit)
{
    if (!edit.refusal.isEmpty()) {
        m_ui.messageBox(m_shell.dialogParent(), edit.refusal, edit.stepText, ui::Buttons::OK, ui::Icon::Exclamation);
        return;
    }
    if (!edit.applied)
        return;
    if (edit.note.isEmpty())
        m_shell.clearStatusMessage();
    else
        m_shell.showStatusMessage(edit.note);
    // Limited values are said in a box too; one undo takes the step back.
    if (!edit.message.isEmpty())
        m_ui.messageBox(m_shell.dialogParent(), edit.message, edit.stepText, ui::Buttons::OK, ui::Icon::Exclamation);
}

editor::GridHeadings SelectionCommands::headings(TableKind kind) const
{
    const views::TimingGrid *grid = gridOf(kind);
    editor::GridHeadings headings;
    headings.corner = grid->cellText(0, 0);
    for (int c = 1; c <= m_model.columns(); ++c)
        headings.columns << grid->cellText(0, c);
    for (int r = 1; r <= m_model.rows(); ++r)
        headings.rows << grid->cellText(r, 0);
    return headings;
}

// ---- the commands ----

void SelectionCommands::copy(TableKind kind)
{
    const std::optional<CellRect> cells = selectedCells(kind);
    if (!cells)
        return;
    CopyState &clip = m_copy.state();
    const editor::TableEditModel &model = m_model;
    // The cells' texts as the grid shows them.
    clip.ClipText = editor::clipText(model.block(*cells), cells->rows, cells->columns,
                                     [&model](double v) { return model.displayText(v); });
    clip.ClipRowSpan = cells->rows - 1;
    clip.ClipColSpan = cells->columns - 1;
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(clip.ClipText);
    popUpOf(kind).paste->setEnabled(true);
}

void SelectionCommands::paste(TableKind kind)
{
    const std::optional<CellRect> selection = selectedCells(kind);
    if (!selection)
        return;
    // The system clipboard first; the program's own copy when another
    // program has emptied it since. That copy keeps its own rule; other
    // text starts at the selection's top-left cell (wherever a drag ended)
    // or lands under the headings it carries.
    const CopyState &clip = m_copy.state();
    QString text = QGuiApplication::clipboard()->text();
    if (text.isEmpty())
        text = clip.ClipText;
    const editor::TableEdit edit = editor::edits::paste(
        m_model, {text, {clip.ClipText, clip.ClipRowSpan, clip.ClipColSpan}, *selection, headings(kind)});
    if (edit.applied) {
        selectInGrid(kind, edit.cells);
        hideValueLabel(kind);
    }
    show(edit);
}

void SelectionCommands::modify(TableKind kind)
{
    if (!selectedCells(kind))
        return;
    const InputReply reply =
        m_ui.inputBox(m_shell.dialogParent(), editor::modifyPrompt(), editor::modifyTitle(), QString());
    // A cancelled reply leaves the cells as they are (an empty one too).
    const std::optional<CellRect> cells = selectedCells(kind);
    if (!reply.accepted || !cells)
        return;
    const editor::TableEdit edit = editor::edits::modify(m_model, *cells, reply.text);
    if (edit.applied)
        hideValueLabel(kind);
    show(edit);
}

void SelectionCommands::interpolate(TableKind kind)
{
    if (const std::optional<CellRect> cells = selectedCells(kind))
        show(editor::edits::interpolate(m_model, *cells));
}

void SelectionCommands::smooth(TableKind kind)
{
    if (const std::optional<CellRect> cells = selectedCells(kind))
        show(editor::edits::smooth(m_model, *cells));
}

void SelectionCommands::step(TableKind kind, double degrees)
{
    if (const std::optional<CellRect> cells = selectedCells(kind))
        show(editor::edits::step(m_model, *cells, degrees));
}

// ---- keys on the grids ----

bool SelectionCommands::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const TableKind kind = watched == &m_views.grid3D ? TableKind::Map3D : TableKind::Curve2D;
    return handleGridKey(kind, static_cast<const QKeyEvent &>(*event));
}

// Page Up and Page Down never type into a cell (unlike + and -, which begin
// an entry such as -5), so they step the selection; an open cell editor
// keeps every key to itself.
bool SelectionCommands::handleGridKey(TableKind kind, const QKeyEvent &key)
{
    if (!holds(kind) || gridOf(kind)->isEditing())
        return false;
    if (key.matches(QKeySequence::Copy)) {
        copy(kind);
        return true;
    }
    if (key.matches(QKeySequence::Paste)) {
        paste(kind);
        return true;
    }
    const Qt::KeyboardModifiers mods = key.modifiers() & ~Qt::KeypadModifier;
    if (mods != Qt::NoModifier && mods != Qt::ShiftModifier)
        return false;
    const double size = mods == Qt::ShiftModifier ? editor::CoarseStep : editor::FineStep;
    if (key.key() == Qt::Key_PageUp)
        step(kind, size);
    else if (key.key() == Qt::Key_PageDown)
        step(kind, -size);
    else
        return false;
    return true;
}

}  // namespace tunara::ui
