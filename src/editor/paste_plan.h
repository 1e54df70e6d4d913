#pragma once

#include "editor/cell_block.h"
#include "editor/selection_ops.h"
#include "editor/table_rules.h"

#include <QString>
#include <QStringList>

// Where pasted text lands in the open table, worked out before anything
// changes. Three layouts:
//   - this program's own last copy keeps its rule (pasteTarget);
//   - a block from another program starts at the selection's top-left
//     cell: from a single selected cell it lands by its own size, cut at
//     the grid's edge; into a selected block of several cells it fills that
//     block and what lies beyond it is left out;
//   - a block whose first row holds the grid's RPM headings lands under
//     them, wherever the selection is; its first column is taken as MAP
//     labels (rows by label) only when that heading row starts with a
//     corner cell, blank or worded, as the CSV export and a spreadsheet
//     copy of the grid write it. Without a label column the rows run from
//     the selection's first row. A heading that names no row or column of
//     the grid refuses the whole paste. A first column of numbers is never
//     taken as labels on its own: plain values may equal the labels.
namespace tunara::editor {

// The grid's heading texts: the corner, one per data column (RPM) and one
// per data row (MAP labels; "ADV" on the 2D grid).
struct GridHeadings {
    QString corner;
    QStringList columns;
    QStringList rows;
};

// The open table as a paste sees it.
struct PasteTable {
    ValueBlock values;  // rows x columns, row after row
    int rows = 0;
    int columns = 0;
    AdvanceWindow window;
    GridHeadings headings;
};

// This program's own last copy: its text and its size minus one.
struct OwnCopy {
    QString text;
    int rowSpan = 0;
    int columnSpan = 0;
};

struct PastePlan {
    CellRect target;      // the rectangle written; empty when nothing lands
    BlockResult result;   // its new values
    int skipped = 0;      // pasted cells with text but no number: kept
    bool cut = false;     // part of the text lay beyond the grid's edge
    // Cells with text beyond a selected block, left out; more than that
    // when the text reached past what was read of it.
    int dropped = 0;
    bool droppedMore = false;
    QString refusal;      // set when the paste is refused: nothing changes
    // Set when the block was placed by its headings: what the status bar
    // says of it ("pasted by headings: rows 24–30, 1000–3000 RPM").
    QString placedBy;
};

// The paste of `text` over `selection` (model coordinates).
PastePlan planPaste(const QString &text, const OwnCopy &own, const CellRect &selection, const PasteTable &table);

// The message after a paste that limited, skipped or cut cells; empty when
// every cell landed as pasted.
QString pasteMessage(const PastePlan &plan, const AdvanceWindow &window);

// The status bar's note after a paste: where a block with headings was
// placed, the limited values and the cells left out beyond the selection;
// empty when there is none of them.
QString pasteNote(const PastePlan &plan, const AdvanceWindow &window);

}  // namespace tunara::editor
