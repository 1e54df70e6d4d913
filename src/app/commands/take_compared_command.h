#pragma once

#include "editor/cell_block.h"
#include "editor/table_rules.h"

#include <QObject>

#include <functional>
#include <optional>

namespace tunara::editor {
class TableEditModel;
}
namespace tunara::views {
class CompareOverlay;
}

namespace tunara::ui {

struct MainActions;
class WindowShell;

// "Take Compared Values" (Edit menu, Ctrl+T, both grids' pop-up menus):
// the selected cells of the open table set to the compared table's values
// as one undoable step, the status bar saying how many changed and how
// many the window limited. Enabled only while a compare runs.
class TakeComparedCommand : public QObject {
    Q_OBJECT
public:
    using SelectedCells = std::function<std::optional<editor::CellRect>(editor::TableKind)>;

    TakeComparedCommand(editor::TableEditModel &model, views::CompareOverlay &overlay, SelectedCells selected,
                        const MainActions &actions, WindowShell &shell, QObject *parent);

    void take(editor::TableKind kind);

private:
    void updateItems();

    editor::TableEditModel &m_model;
    views::CompareOverlay &m_overlay;
    SelectedCells m_selected;
    const MainActions &m_actions;
    WindowShell &m_shell;
};

}  // namespace tunara::ui
