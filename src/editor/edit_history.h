#pragma once

#include "editor/cell_block.h"

#include <QString>

#include <functional>
#include <vector>

namespace tunara::editor {

// One committed change of the open table: which cells, their values before
// and after (as stored, and as they were before the rounding to the stored
// step), and the words the Undo and Redo items show for it.
struct EditStep {
    QString text;
    CellRect cells;
    ValueBlock before;
    ValueBlock after;
    ValueBlock exactBefore;
    ValueBlock exactAfter;
};

// The undo history of the open table. A plain list of steps and a position:
// the steps before the position are done (undo takes the last of them), the
// steps from the position on are undone (redo takes the first). A new step
// drops the undone ones. The clean mark is the position where the values
// equal what was last opened or saved; it is lost for good when the steps
// that led back to it are dropped.
class EditHistory {
public:
    void clear();
    void push(EditStep step);

    bool canUndo() const { return m_index > 0; }
    bool canRedo() const { return m_index < int(m_steps.size()); }
    // The step to take back (its `before` values go back in) and to do
    // again (its `after` values); each moves the position by one. Only call
    // them when canUndo() / canRedo() is true.
    const EditStep &undo();
    const EditStep &redo();
    QString undoText() const;
    QString redoText() const;

    bool isClean() const { return m_index == m_cleanIndex; }
    void setClean() { m_cleanIndex = m_index; }

    // Every value of every step, done and undone, through `change` (the
    // stored value and the value before rounding of one cell); the position
    // and the clean mark stay.
    void rewriteValues(const std::function<void(double &stored, double &exact)> &change);

    int count() const { return int(m_steps.size()); }
    int index() const { return m_index; }

private:
    std::vector<EditStep> m_steps;
    int m_index = 0;
    int m_cleanIndex = 0;  // -1: no position of the list is clean any more
};

}  // namespace tunara::editor
