#include "editor/table_edit_model.h"

#include "image/module_parameters.h"

#include <cmath>
#include <stdexcept>

namespace tunara::editor {

namespace {

// The value a cell keeps before rounding: the given one while it rounds to
// the stored value, else the stored value itself (the byte's range, or the
// 2D curve's floor at 0, moved it further than half a step).
double exactBeside(double given, double stored)
{
    constexpr double HalfStep = DegreesPerStep / 2 + 1e-9;
    return std::fabs(given - stored) <= HalfStep ? given + 0.0 : stored;
}

}  // namespace

TableEditModel::TableEditModel(QObject *parent) : QObject(parent) {}

void TableEditModel::openBlock(TableKind kind, int rows, int trigTiming)
{
    m_kind = kind;
    m_trigTiming = trigTiming;
    m_rows = rows;
    m_columns = SpeedPoints;
    m_values.assign(std::size_t(m_rows * m_columns), 0.0);
    m_exact = m_values;
    m_history.clear();
}

void TableEditModel::open2D(const Table2D &table, int trigTiming)
{
    openBlock(TableKind::Curve2D, 1, trigTiming);
    for (int c = 0; c < m_columns; ++c)
        openCell(0, c, table(c + 1, 1));
    emit tableReset();
    emit historyChanged();
}

void TableEditModel::open3D(const Table3D &table, int trigTiming)
{
    openBlock(TableKind::Map3D, PressureRows, trigTiming);
    for (int r = 0; r < m_rows; ++r)
        for (int c = 0; c < m_columns; ++c)
            openCell(r, c, table(c + 1, pressureIndexOfRow(r)));
    emit tableReset();
    emit historyChanged();
}

void TableEditModel::openCell(int row, int column, double v)
{
    const std::size_t i = std::size_t(row * m_columns + column);
    m_values[i] = stored(v);
    m_exact[i] = exactBeside(v, m_values[i]);
}

void TableEditModel::close()
{
    openBlock(TableKind::None, 0, 0);
    m_columns = 0;
    m_values.clear();
    m_exact.clear();
    emit tableReset();
    emit historyChanged();
}

double TableEditModel::value(int row, int column) const
{
    return cellOf(m_values, row, column);
}

ValueBlock TableEditModel::block(const CellRect &cells) const
{
    return cellsOf(m_values, cells);
}

double TableEditModel::exactValue(int row, int column) const
{
    return cellOf(m_exact, row, column);
}

ValueBlock TableEditModel::exactBlock(const CellRect &cells) const
{
    return cellsOf(m_exact, cells);
}

double TableEditModel::cellOf(const ValueBlock &from, int row, int column) const
{
    if (!inside(CellRect::single(row, column)))
        throw std::out_of_range("table cell out of range");
    return from[std::size_t(row * m_columns + column)];
}

ValueBlock TableEditModel::cellsOf(const ValueBlock &from, const CellRect &cells) const
{
    if (!inside(cells))
        throw std::out_of_range("table block out of range");
    ValueBlock out;
    out.reserve(std::size_t(cells.count()));
    for (int r = cells.top; r <= cells.bottom(); ++r)
        for (int c = cells.left; c <= cells.right(); ++c)
            out.push_back(from[std::size_t(r * m_columns + c)]);
    return out;
}

AdvanceWindow TableEditModel::editWindow() const
{
    return editor::editWindow(m_kind, m_trigTiming);
}

QString TableEditModel::entryRefusalText() const
{
    return editor::entryRefusalText(m_kind, m_trigTiming);
}

std::optional<double> TableEditModel::enterText(int row, int column, const QString &text)
{
    if (!isOpen() || !inside(CellRect::single(row, column)))
        return std::nullopt;
    const std::optional<double> v = checkTypedEntry(m_kind, m_trigTiming, text);
    if (!v)
        return std::nullopt;
    setValue(row, column, *v, QStringLiteral("Typing"));
    return value(row, column);
}

bool TableEditModel::setValue(int row, int column, double v, const QString &stepText)
{
    return setBlock(CellRect::single(row, column), ValueBlock{v}, stepText);
}

bool TableEditModel::setBlock(const CellRect &cells, ValueBlock newValues, const QString &stepText)
{
    if (!isOpen() || cells.isEmpty() || !inside(cells) || int(newValues.size()) != cells.count())
        return false;
    for (double v : newValues)
        if (!std::isfinite(v))
            return false;
    ValueBlock exact = std::move(newValues);
    ValueBlock after(exact.size());
    for (std::size_t i = 0; i < exact.size(); ++i) {
        after[i] = stored(exact[i]);
        exact[i] = exactBeside(exact[i], after[i]);
    }
    ValueBlock before = block(cells);
    if (before == after)
        return true;
    ValueBlock exactBefore = exactBlock(cells);
    writeBlock(cells, after, exact);
    m_history.push(
        EditStep{stepText, cells, std::move(before), std::move(after), std::move(exactBefore), std::move(exact)});
    emit historyChanged();
    return true;
}

bool TableEditModel::undo()
{
    if (!canUndo())
        return false;
    const EditStep &step = m_history.undo();
    writeBlock(step.cells, step.before, step.exactBefore);
    emit historyChanged();
    return true;
}

bool TableEditModel::redo()
{
    if (!canRedo())
        return false;
    const EditStep &step = m_history.redo();
    writeBlock(step.cells, step.after, step.exactAfter);
    emit historyChanged();
    return true;
}

bool TableEditModel::rebase(int newTrigTiming)
{
    if (!isOpen())
        return false;
    const TableKind kind = m_kind;
    // The stored value moves as the working arrays and the image do; the
    // value before rounding is limited the same way and kept while it still
    // rounds to the moved stored value.
    const auto move = [kind, newTrigTiming](double &stored, double &exact) {
        stored = storedValue(kind, newTrigTiming, clampToTrigger(stored, newTrigTiming));
        exact = exactBeside(clampToTrigger(exact, newTrigTiming), stored);
        if (storedValue(kind, newTrigTiming, exact) != stored)
            exact = stored;
    };
    m_trigTiming = newTrigTiming;
    for (std::size_t i = 0; i < m_values.size(); ++i)
        move(m_values[i], m_exact[i]);
    m_history.rewriteValues(move);
    emit tableReset();
    emit historyChanged();
    return true;
}

void TableEditModel::markSaved()
{
    m_history.setClean();
    emit historyChanged();
}

bool TableEditModel::copyTo(Table2D &table) const
{
    if (m_kind != TableKind::Curve2D)
        return false;
    for (int c = 0; c < m_columns; ++c) {
        table(c + 1, 1) = m_values[std::size_t(c)];
        table(c + 1, 2) = m_trigTiming;
    }
    return true;
}

bool TableEditModel::copyTo(Table3D &table) const
{
    if (m_kind != TableKind::Map3D)
        return false;
    for (int r = 0; r < m_rows; ++r)
        for (int c = 0; c < m_columns; ++c)
            table(c + 1, pressureIndexOfRow(r)) = m_values[std::size_t(r * m_columns + c)];
    return true;
}

bool TableEditModel::inside(const CellRect &cells) const
{
    return !cells.isEmpty() && cells.top >= 0 && cells.left >= 0 && cells.bottom() < m_rows &&
           cells.right() < m_columns;
}

void TableEditModel::writeBlock(const CellRect &cells, const ValueBlock &newValues, const ValueBlock &exact)
{
    std::size_t i = 0;
    for (int r = cells.top; r <= cells.bottom(); ++r) {
        for (int c = cells.left; c <= cells.right(); ++c, ++i) {
            m_values[std::size_t(r * m_columns + c)] = newValues[i];
            m_exact[std::size_t(r * m_columns + c)] = exact[i];
        }
    }
    emit cellsChanged(cells);
}

}  // namespace tunara::editor
