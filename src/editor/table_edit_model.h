#pragma once

#include "editor/cell_block.h"
#include "editor/edit_history.h"
#include "editor/table_rules.h"
#include "tables/timing_tables.h"

#include <QObject>

#include <optional>

// The editing model of the open timing table.
//
// It holds the live values of the table on screen; the chart, the 3D
// surface and the grid are views of it and show only what it holds. The
// working arrays (Table2D, Table3D) are read when a table is opened and
// written back only by the save (copyTo), so closing without saving leaves
// them as they were.
//
// A cell shows one value: the advance the module will store for it under
// the trigger timing in force (storedValue(): encoded to its byte, half to
// even, and decoded again; the 2D curve never below 0). Every value is
// converted on its way in (open2D/open3D, setValue, setBlock, enterText),
// so the grid, the charts, a CSV export, the report and a save all work
// from the same number, and a save writes the byte that number came from.
//
// Beside it the cell keeps the value it was given before that rounding
// (exactValue(): what was opened, typed, pasted, dragged or computed), so
// that steps add up: ten raises of 0.2 degree move a cell 2.0 degrees, not
// ten times the 0.1758 degree that one 0.2 raise of the stored value gives.
// Keyboard steps, Modify, interpolate and smooth work from it (see
// table_edits.h). It always rounds to the stored value: a value the stored
// step cannot hold (beyond the byte's range, a 2D value below 0) is kept as
// stored. Undo and redo restore both.
//
// Layout: one block of rows() x columns() doubles in the grid's orientation.
//   2D curve: 1 row, 21 columns; column c is speed point c + 1.
//   3D map:   8 rows, 21 columns; row r is grid row r + 1, which is pressure
//             index 8 - r (row 0 the lowest pressure), column c speed point
//             c + 1.
//
// Every committed change is one step of the history, whatever its size, and
// every step goes through setBlock() (setValue() and enterText() are
// one-cell blocks). A new operation adds itself in three moves:
//   1. work out the new values of its rectangle with a pure function of the
//      current block (model.block(rect)) and its arguments;
//   2. call model.setBlock(rect, newValues, QStringLiteral("Paste")): the
//      text names the step in the Undo and Redo items;
//   3. nothing else: the views repaint from cellsChanged(rect), and undo and
//      redo replay the step. A step that changes no stored value is not
//      recorded.
// A drag previews in its chart alone while the button is held and commits
// the final value(s) at the release, as one step.
//
// The history begins when a table is opened and ends when it is closed or
// opened again; the save calls markSaved() before it closes the table, so
// isModified() answers "are there unsaved edits?" in between.
namespace tunara::editor {

class TableEditModel : public QObject {
    Q_OBJECT
public:
    explicit TableEditModel(QObject *parent = nullptr);

    void open2D(const Table2D &table, int trigTiming);
    void open3D(const Table3D &table, int trigTiming);
    void close();

    bool isOpen() const { return m_kind != TableKind::None; }
    TableKind kind() const { return m_kind; }
    int trigTiming() const { return m_trigTiming; }
    int rows() const { return m_rows; }
    int columns() const { return m_columns; }
    CellRect allCells() const { return {0, 0, m_rows, m_columns}; }

    // Values by model coordinates; throws std::out_of_range outside the table.
    double value(int row, int column) const;
    ValueBlock block(const CellRect &cells) const;
    const ValueBlock &values() const { return m_values; }
    // The same cells before the rounding to the stored step.
    double exactValue(int row, int column) const;
    ValueBlock exactBlock(const CellRect &cells) const;
    const ValueBlock &exactValues() const { return m_exact; }

    // A value as the views show it: as the module will store it, "#0.0".
    QString displayText(double value) const { return editor::displayText(m_kind, m_trigTiming, value); }
    QString displayText(int row, int column) const { return displayText(value(row, column)); }

    // The window drags and typed entries keep to, and its refusal message.
    AdvanceWindow editWindow() const;
    QString entryRefusalText() const;

    // A typed entry: committed as one step when it is a number inside the
    // window (the value the cell now holds, as stored, is returned); refused
    // otherwise, nothing changes.
    std::optional<double> enterText(int row, int column, const QString &text);

    // One step over one cell or a rectangle. False (nothing changes) when no
    // table is open, the rectangle leaves the table, the value count does
    // not match, or a value is not a finite number. The values go in as
    // stored, and as given beside them. True also when the stored values
    // were already there (then no step is recorded and nothing changes).
    bool setValue(int row, int column, double v, const QString &stepText);
    bool setBlock(const CellRect &cells, ValueBlock newValues, const QString &stepText);

    bool canUndo() const { return m_history.canUndo(); }
    bool canRedo() const { return m_history.canRedo(); }
    QString undoText() const { return m_history.undoText(); }
    QString redoText() const { return m_history.redoText(); }
    bool undo();
    bool redo();

    // The open table moved to a new trigger timing the way ClampTablesToTrigger
    // and rebaseTableRegions move the working arrays and the image: every
    // value limited to the new window (never below 0, then newTrigTiming - 22
    // .. newTrigTiming) and stored under the new trigger. The history's
    // values move the same way, so undo and redo go on working; it is no
    // step of its own and the saved mark stays, for the caller moves the
    // working arrays and the image with it. False when no table is open.
    bool rebase(int newTrigTiming);

    bool isModified() const { return isOpen() && !m_history.isClean(); }
    void markSaved();

    // The live values into the working array of their kind (2D: column 1
    // the curve, column 2 the trigger timing). False when the open table is
    // of the other kind or none is open.
    bool copyTo(Table2D &table) const;
    bool copyTo(Table3D &table) const;

    // Model coordinates of a working-array cell of the 3D map, and back.
    static int rowOfPressureIndex(int pressureIndex) { return PressureRows - pressureIndex; }
    static int pressureIndexOfRow(int row) { return PressureRows - row; }

signals:
    // Values of these cells changed (an edit, an undo or a redo).
    void cellsChanged(const tunara::editor::CellRect &cells);
    // A table was opened or closed: every value may differ.
    void tableReset();
    // Undo, redo or the clean state may have changed.
    void historyChanged();

private:
    void openBlock(TableKind kind, int rows, int trigTiming);
    void openCell(int row, int column, double v);
    bool inside(const CellRect &cells) const;
    double stored(double v) const { return storedValue(m_kind, m_trigTiming, v); }
    double cellOf(const ValueBlock &from, int row, int column) const;
    ValueBlock cellsOf(const ValueBlock &from, const CellRect &cells) const;
    void writeBlock(const CellRect &cells, const ValueBlock &newValues, const ValueBlock &exact);

    TableKind m_kind = TableKind::None;
    int m_trigTiming = 0;
    int m_rows = 0;
    int m_columns = 0;
    ValueBlock m_values;
    ValueBlock m_exact;
    EditHistory m_history;
};

}  // namespace tunara::editor
