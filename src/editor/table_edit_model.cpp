#include "editor/table_edit_model.h"

#include <cmath>
#include <stdexcept>

namespace tunara::editor {

TableEditModel::TableEditModel(QObject *parent) : QObject(parent) {}

void TableEditModel::openBlock(TableKind kind, int rows, int trigTiming)
{
    m_kind = kind;
    m_trigTiming = trigTiming;
    m_rows = rows;
    m_columns = SpeedPoints;
    m_values.assign(std::size_t(m_rows * m_columns), 0.0);
    m_history.clear();
}

void TableEditModel::open2D(const Table2D &table, int trigTiming)
{
    openBlock(TableKind::Curve2D, 1, trigTiming);
    for (int c = 0; c < m_columns; ++c)
        at(0, c) = stored(table(c + 1, 1));
    emit tableReset();
    emit historyChanged();
}

void TableEditModel::open3D(const Table3D &table, int trigTiming)
{
    openBlock(TableKind::Map3D, PressureRows, trigTiming);
    for (int r = 0; r < m_rows; ++r)
        for (int c = 0; c < m_columns; ++c)
            at(r, c) = stored(table(c + 1, pressureIndexOfRow(r)));
    emit tableReset();
    emit historyChanged();
}

void TableEditModel::close()
{
    openBlock(TableKind::None, 0, 0);
    m_columns = 0;
    m_values.clear();
    emit tableReset();
    emit historyChanged();
}

double TableEditModel::value(int row, int column) const
{
    if (!inside(CellRect::single(row, column)))
        throw std::out_of_range("table cell out of range");
    return m_values[std::size_t(row * m_columns + column)];
}

ValueBlock TableEditModel::block(const CellRect &cells) const
{
    if (!inside(cells))
        throw std::out_of_range("table block out of range");
    ValueBlock out;
    out.reserve(std::size_t(cells.count()));
    for (int r = cells.top; r <= cells.bottom(); ++r)
        for (int c = cells.left; c <= cells.right(); ++c)
            out.push_back(m_values[std::size_t(r * m_columns + c)]);
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
    for (double &v : newValues)
        v = stored(v);
    ValueBlock before = block(cells);
    if (before == newValues)
        return true;
    writeBlock(cells, newValues);
    m_history.push(EditStep{stepText, cells, std::move(before), std::move(newValues)});
    emit historyChanged();
    return true;
}

bool TableEditModel::undo()
{
    if (!canUndo())
        return false;
    const EditStep &step = m_history.undo();
    writeBlock(step.cells, step.before);
    emit historyChanged();
    return true;
}

bool TableEditModel::redo()
{
    if (!canRedo())
        return false;
    const EditStep &step = m_history.redo();
    writeBlock(step.cells, step.after);
    emit historyChanged();
    return true;
}

bool TableEditModel::rebase(int newTrigTiming)
{
    if (!isOpen())
        return false;
    const TableKind kind = m_kind;
    const auto move = [kind, newTrigTiming](double v) {
        return storedValue(kind, newTrigTiming, clampToTrigger(v, newTrigTiming));
    };
    m_trigTiming = newTrigTiming;
    for (double &v : m_values)
        v = move(v);
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

void TableEditModel::writeBlock(const CellRect &cells, const ValueBlock &newValues)
{
    std::size_t i = 0;
    for (int r = cells.top; r <= cells.bottom(); ++r)
        for (int c = cells.left; c <= cells.right(); ++c)
            at(r, c) = newValues[i++];
    emit cellsChanged(cells);
}

}  // namespace tunara::editor
