#pragma once

#include "app/commands/table_views.h"
#include "editor/cell_block.h"
#include "editor/paste_plan.h"
#include "editor/table_edits.h"
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
// Each change is one call of the editor's edits (table_edits.h), which
// commits it as one step of the editing model; the command reads the grid,
// makes the call and shows its outcome: the landed block selected, the
// status bar's note on limited values and the message box. The current
// cell is told for the status bar.
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
    // An edit's outcome: its refusal, or the status note and the message
    // box after an applied edit.
    void show(const editor::TableEdit &edit);
    editor::GridHeadings headings(editor::TableKind kind) const;

    editor::TableEditModel &m_model;
    TableViews m_views;
    const MainActions &m_actions;
    UserInterface &m_ui;
    CopyBuffer &m_copy;
    WindowShell &m_shell;
};

}  // namespace tunara::ui
