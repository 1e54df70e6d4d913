#pragma once

#include "editor/cell_block.h"
#include "editor/paste_plan.h"
#include "tables/timing_tables.h"

#include <QString>

// The selection edits of the open table, each one call: it works out the
// new values with the pure block functions (selection_ops.h, paste_plan.h)
// from the cells' values before the rounding to the stored step
// (TableEditModel::exactValue), so that steps add up,
// commits them to the editing model as one undo step and says what the
// window should show. The window asks the user what it must (Modify's
// reply), makes the call and shows the outcome; it never touches the
// model's values itself.
namespace tunara::editor {

class TableEditModel;

// What one edit did and what to tell the user.
struct TableEdit {
    // Names the undo step; a message box about the edit carries it as its
    // title.
    QString stepText;
    // The edit went to the model (a step is recorded when a stored value
    // changed). False: nothing happened and nothing is to be shown but a
    // refusal.
    bool applied = false;
    // The cells the edit covered; for a paste the block it landed in, which
    // the grid selects.
    CellRect cells;
    int changed = 0;  // values whose stored value differs afterwards
    int limited = 0;  // values the window (or Modify's ceiling) moved
    // For the status bar after an applied edit; empty: clear it.
    QString note;
    // For a message box (OK, exclamation) after an applied edit; empty: none.
    QString message;
    // A paste refused as a whole: said in a box, nothing else changes.
    QString refusal;
};

// A paste as the window sees it: the text (the system clipboard's, or the
// program's own copy), the program's own last copy, the selection (model
// coordinates) and the grid's headings.
struct PasteRequest {
    QString text;
    OwnCopy own;
    CellRect selection;
    GridHeadings headings;
};

namespace edits {

// "Paste": the text laid out by planPaste and written as one step. The
// note counts the limited values and the cells left out beyond the
// selection (pasteNote); the message the limited, skipped and cut cells
// (pasteMessage).
TableEdit paste(TableEditModel &model, const PasteRequest &request);

// "Modify": the reply of the Modify input box (modifyPrompt, modifyTitle)
// applied to every cell, limited to 0 .. the table's ceiling and to the
// window. An empty or blank reply is no expression: nothing happens. A
// reply whose number cannot be read whole is refused (modifyRefusal).
TableEdit modify(TableEditModel &model, const CellRect &cells, const QString &reply);

// "Raise" (degrees > 0) or "Lower": every cell stepped, limited to the
// window.
TableEdit step(TableEditModel &model, const CellRect &cells, double degrees);

// "Interpolate" and "Smooth" over the cells.
TableEdit interpolate(TableEditModel &model, const CellRect &cells);
TableEdit smooth(TableEditModel &model, const CellRect &cells);

// "Take Compared Values": every cell set to the compared table's value at
// the same place, limited to the window. `compared` is the whole compared
// table laid out as the model's values (comparedLayout).
TableEdit takeCompared(TableEditModel &model, const CellRect &cells, const ValueBlock &compared);

// A table of the open table's kind as the model lays out its values.
ValueBlock comparedLayout(const TableEditModel &model, const Table2D &table2D, const Table3D &table3D);

}  // namespace edits

}  // namespace tunara::editor
