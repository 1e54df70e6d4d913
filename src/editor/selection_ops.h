#pragma once

#include "editor/cell_block.h"
#include "editor/table_rules.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

// Operations over a selected block of the open table. Each is a pure
// function of the block's current values (row after row, `rows` x `columns`)
// and its arguments; it returns the new values and how many of them had to
// be limited to the advance window. The window layer hands the result to
// TableEditModel::setBlock as one undo step.
namespace tunara::editor {

struct BlockResult {
    ValueBlock values;
    int limited = 0;  // values that the window (or a fixed ceiling) moved
};

// ---- Clip text: cells separated by tabs, rows by carriage returns ----------

// The clip text of a block: each value as the grid shows it (`cellText`), a
// tab between cells, a carriage return between rows, nothing after the last.
QString clipText(const ValueBlock &values, int rows, int columns,
                 const std::function<QString(double)> &cellText = formatValue);

// Clip text split into rows and cells. Rows may be separated by CR, LF or
// CR LF (other programs write CR LF); one separator at the very end is not a
// row of its own. Cells are separated by tabs; text without a tab (CSV text)
// by semicolons, or else by commas when a row holds two or the text a
// decimal point, so a lone "12,5" stays one cell. A cell in double quotes
// loses them. Only the first maxRows rows and maxColumns cells of a row are
// kept, so text of any size costs no more than the grid can take; `cut`
// says that something other than blanks was left out.
struct ClipCells {
    std::vector<QStringList> rows;
    bool cut = false;
    int columns() const;  // cells in the widest kept row
};
ClipCells parseClipText(const QString &text, int maxRows, int maxColumns);

// The block this program's own last copy fills, cut at the table's edge
// (tableRows x tableColumns). A copy of more than one cell keeps the copied
// size (rowSpan and columnSpan are its rows and columns minus one) from the
// selection's top-left cell; otherwise the block is the selection, except
// that a single selected cell takes the shape of the text. Text from other
// programs is laid out by planPaste (paste_plan.h).
CellRect pasteTarget(const CellRect &selection, int rowSpan, int columnSpan, const ClipCells &cells,
                     int tableRows, int tableColumns);

// Pasting cells over a block: cell (r, c) of the text replaces value (r, c)
// when it is a number (numbers::readNumber), limited to the window; a cell without a number and
// every value beyond the text keep their value.
BlockResult pasteCells(const ValueBlock &current, int rows, int columns, const ClipCells &cells,
                       const AdvanceWindow &window);

// ---- Modify: one expression applied to every selected cell ----------------

enum class ModifyKind { Set, Add, Multiply, ChangeByPercent };

struct ModifyExpression {
    ModifyKind kind = ModifyKind::Set;
    double number = 0;
};

// The reply of the Modify input box read as an expression: "%" anywhere
// makes it a percentage, "+" (or failing that "-") anywhere makes it
// relative, and the number is what is left once every "%" and "+" is gone,
// read whole as every typed number is (numbers::readNumber: "-7,5" is -7.5
// in any locale); a minus after it ("5-") only makes the reply relative. Nothing
// for an empty reply or one whose number cannot be read whole ("12,5abc",
// "abc"): Modify then changes nothing.
std::optional<ModifyExpression> parseModifyReply(const QString &reply);

// The new value of one cell before any limit.
double applyModify(const ModifyExpression &expression, double current);

// Modify over a block: every value through the expression, then below 0
// gives 0 and above `ceiling` gives `ceiling`, then limited to the window.
BlockResult modifyBlock(const ValueBlock &current, const ModifyExpression &expression, double ceiling,
                        const AdvanceWindow &window);

// The ceiling of Modify: 40 degrees on the 2D curve, 45 on the 3D map.
double modifyCeiling(TableKind kind);

// The seven-line prompt and the title of the Modify input box.
QString modifyPrompt();
QString modifyTitle();

// The message when a reply cannot be read.
QString modifyRefusal(const QString &reply);

// ---- Interpolate, smooth, keyboard steps ----------------------------------

// A single row (or column) becomes a straight line between its first and
// last cells; a block of at least 2 x 2 fills bilinearly from its four
// corners. The corners keep their values (limited to the window).
BlockResult interpolateBlock(const ValueBlock &current, int rows, int columns, const AdvanceWindow &window);

// A 1-2-1 weighted average along each row and then each column of the
// block: a cell counts twice, each selected neighbour on its line once. The
// first and last cell of every line are kept, so the block's corners never
// move and its edges are smoothed along the edge only.
BlockResult smoothBlock(const ValueBlock &current, int rows, int columns, const AdvanceWindow &window);

// Every value raised (positive step) or lowered by `step`, limited to the
// window.
BlockResult stepBlock(const ValueBlock &current, double step, const AdvanceWindow &window);

// The keyboard steps: 0.2 degree (the drag's step), 1 degree with Shift.
inline constexpr double FineStep = 0.2;
inline constexpr double CoarseStep = 1.0;

// The status bar's note after a command whose values were limited; empty
// when none was.
QString limitedNote(int limited, const AdvanceWindow &window);

// The same note as a message box says it; empty when nothing was limited.
QString limitedMessage(int limited, const AdvanceWindow &window);

}  // namespace tunara::editor
