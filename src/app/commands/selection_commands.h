#pragma once

#include "app/commands/table_views.h"
#include "editor/cell_block.h"
#include "editor/paste_plan.h"
#include "editor/selection_ops.h"
#include "editor/table_rules.h"

#include <QObject>

#include <optional>

class QKeyEvent;

namespace tunara::editor {
class TableEditModel;
}

namespace tunara::ui {

class CopyBuffer;
struct GridPopupActions;
struct MainActions;
class UserInterface;
class WindowShell;

// The commands on a grid selection: Copy, Paste and Modify of the two
// pop-up menus, Interpolate and Smooth (pop-up menus and Edit menu), the
// keyboard steps on a grid (Page Up / Page Down, with Shift a whole degree;
// Ctrl+C and Ctrl+V copy and paste), and the heat-map tint of both grids.
// Each change is one step of the editing model; when values had to be
// limited to the advance window the status bar and a message box say how
// many. The current cell is told for the status bar.
class SelectionCommands : public QObject {
    Q_OBJECT
public:
    SelectionCommands(editor::TableEditModel &model, TableViews views, const MainActions &actions, UserInterface &ui,
                      CopyBuffer &copy, WindowShell &shell, QObject *parent);

    void copy(editor::TableKind kind);
    void paste(editor::TableKind kind);
    void modify(editor::TableKind kind);
    void interpolate(editor::TableKind kind);
    void smooth(editor::TableKind kind);
    void step(editor::TableKind kind, double degrees);

    // The grid's selection as a block of the model (headings left out; on
    // the 2D grid always the advance row). Nothing when no data cell of the
    // open table is selected.
    std::optional<editor::CellRect> selectedCells(editor::TableKind kind) const;

signals:
    // The current cell as the status bar shows it (empty: none).
    void currentCellShown(const QString &text);

private:
    void registerCommands();
    void updateEditMenuItems();
    void installHeatMaps();
    void installCellStatus();
    void showCellStatus(editor::TableKind kind, int row, int column);
    bool eventFilter(QObject *watched, QEvent *event) override;
    bool handleGridKey(editor::TableKind kind, const QKeyEvent &key);

    const GridPopupActions &popUpOf(editor::TableKind kind) const;
    views::TimingGrid *gridOf(editor::TableKind kind) const;
    bool holds(editor::TableKind kind) const;
    void selectInGrid(editor::TableKind kind, const editor::CellRect &cells);
    void hideValueLabel(editor::TableKind kind);
    // One step; `message` (by default the limited note) is shown in a box
    // when it is not empty.
    void commit(const editor::CellRect &cells, const editor::BlockResult &result, const QString &stepText,
                const QString &message = QString());
    // The grid's current cell in model coordinates, or the selection's
    // corner when the current cell lies outside it.
    editor::CellRect currentCell(editor::TableKind kind, const editor::CellRect &selection) const;
    editor::PasteTable pasteTable(editor::TableKind kind) const;
    // One of the block-shaping commands over the current selection.
    template <typename Shape>
    void reshape(editor::TableKind kind, const QString &stepText, Shape shape);

    editor::TableEditModel &m_model;
    TableViews m_views;
    const MainActions &m_actions;
    UserInterface &m_ui;
    CopyBuffer &m_copy;
    WindowShell &m_shell;
};

}  // namespace tunara::ui
