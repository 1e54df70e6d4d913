#include "editor/selection_ops.h"

#include "core/numbers.h"
#include "core/shown_numbers.h"

#include <algorithm>
#include <cmath>

namespace tunara::editor {

namespace {

// Limits one result to the window and counts it when it moved. A value that
// is not a number (never produced from finite input, guarded all the same)
// keeps the cell's old value; -0 becomes 0 so the grid never shows "-0.0".
double limitCounted(double v, double old, const AdvanceWindow &window, int &limited)
{
    if (std::isnan(v))
        v = old;
    const double kept = window.limit(v);
    if (kept != v)
        ++limited;
    return kept + 0.0;
}

BlockResult limitAll(ValueBlock values, const ValueBlock &old, const AdvanceWindow &window)
{
    BlockResult result;
    for (std::size_t i = 0; i < values.size(); ++i)
        values[i] = limitCounted(values[i], old[i], window, result.limited);
    result.values = std::move(values);
    return result;
}

// Splits at the next row break (CR, LF or CR LF); returns the start of the
// following row, or -1 at the end of the text.
qsizetype nextRowStart(QStringView text, qsizetype from, qsizetype &rowEnd)
{
    for (qsizetype i = from; i < text.size(); ++i) {
        if (text[i] == u'\r') {
            rowEnd = i;
            return (i + 1 < text.size() && text[i + 1] == u'\n') ? i + 2 : i + 1;
        }
        if (text[i] == u'\n') {
            rowEnd = i;
            return i + 1;
        }
    }
    rowEnd = text.size();
    return -1;
}

// A cell in double quotes (as CSV text and spreadsheets quote a cell) without
// them, a doubled quote inside read as one.
QString unquoted(QStringView cell)
{
    const QStringView trimmed = cell.trimmed();
    if (trimmed.size() < 2 || !trimmed.startsWith(u'"') || !trimmed.endsWith(u'"'))
        return cell.toString();
    return trimmed.mid(1, trimmed.size() - 2).toString().replace(QStringLiteral("\"\""), QStringLiteral("\""));
}

QStringList splitCells(QStringView row, QChar separator, int maxColumns, bool &cut)
{
    QStringList cells;
    qsizetype start = 0;
    while (true) {
        const qsizetype at = row.indexOf(separator, start);
        if (int(cells.size()) == maxColumns) {
            cut = cut || !row.mid(start).trimmed().isEmpty();
            break;
        }
        cells.append(unquoted(at < 0 ? row.mid(start) : row.mid(start, at - start)));
        if (at < 0)
            break;
        start = at + 1;
    }
    return cells;
}

// Tabs separate the cells of a spreadsheet's copy; text without a tab is
// CSV text, separated by semicolons or commas. A lone comma in a row with no
// point ("12,5") is a decimal comma, not a separator.
QChar cellSeparator(QStringView text)
{
    if (text.contains(u'\t'))
        return u'\t';
    if (text.contains(u';'))
        return u';';
    qsizetype commas = 0;
    qsizetype lineCommas = 0;
    for (const QChar ch : text) {
        if (ch == u'\r' || ch == u'\n')
            lineCommas = 0;
        else if (ch == u',' && ++lineCommas > 1)
            return u',';
        commas += ch == u',' ? 1 : 0;
    }
    return commas > 0 && text.contains(u'.') ? u',' : u'\t';
}

std::vector<double> straightLine(double first, double last, int count)
{
    std::vector<double> line(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        line[std::size_t(i)] = count == 1 ? first : first + (last - first) * i / (count - 1);
    if (count > 1)
        line.back() = last;  // exact, whatever the rounding of the steps
    return line;
}

// One 1-2-1 pass along lines of `count` cells, `stride` apart, starting at
// each of `starts`; the first and last cell of each line are kept.
void smoothLines(ValueBlock &values, const std::vector<std::size_t> &starts, int count, std::size_t stride)
{
    if (count < 3)
        return;
    for (std::size_t start : starts) {
        std::vector<double> line(static_cast<std::size_t>(count));
        for (int i = 0; i < count; ++i)
            line[std::size_t(i)] = values[start + std::size_t(i) * stride];
        for (int i = 1; i + 1 < count; ++i)
            values[start + std::size_t(i) * stride] =
                (line[std::size_t(i - 1)] + 2 * line[std::size_t(i)] + line[std::size_t(i + 1)]) / 4;
    }
}

}  // namespace

// ---- Clip text ---------------------------------------------------------

QString clipText(const ValueBlock &values, int rows, int columns, const std::function<QString(double)> &cellText)
{
    QString text;
    for (int r = 0; r < rows; ++r) {
        if (r > 0)
            text += u'\r';
        for (int c = 0; c < columns; ++c) {
            if (c > 0)
                text += u'\t';
            text += cellText(values[std::size_t(r * columns + c)]);
        }
    }
    return text;
}

int ClipCells::columns() const
{
    int widest = 0;
    for (const QStringList &row : rows)
        widest = std::max(widest, int(row.size()));
    return widest;
}

ClipCells parseClipText(const QString &text, int maxRows, int maxColumns)
{
    ClipCells cells;
    const QStringView view(text);
    if (view.isEmpty())
        return cells;
    const QChar separator = cellSeparator(view);
    qsizetype start = 0;
    while (start >= 0) {
        qsizetype rowEnd = 0;
        const qsizetype next = nextRowStart(view, start, rowEnd);
        if (int(cells.rows.size()) == maxRows) {
            cells.cut = cells.cut || !view.mid(start).trimmed().isEmpty();
            break;
        }
        cells.rows.push_back(splitCells(view.mid(start, rowEnd - start), separator, maxColumns, cells.cut));
        if (next >= view.size())
            break;  // a break at the very end closes the last row
        start = next;
    }
    return cells;
}

CellRect pasteTarget(const CellRect &selection, int rowSpan, int columnSpan, const ClipCells &cells,
                     int tableRows, int tableColumns)
{
    CellRect target = selection;
    if (rowSpan > 0 || columnSpan > 0) {
        target.rows = rowSpan + 1;
        target.columns = columnSpan + 1;
    } else if (selection.count() == 1 && !cells.rows.empty()) {
        target.rows = int(cells.rows.size());
        target.columns = std::max(1, cells.columns());
    }
    target.rows = std::min(target.rows, tableRows - target.top);
    target.columns = std::min(target.columns, tableColumns - target.left);
    return target;
}

BlockResult pasteCells(const ValueBlock &current, int rows, int columns, const ClipCells &cells,
                       const AdvanceWindow &window)
{
    BlockResult result{current, 0};
    for (int r = 0; r < rows && r < int(cells.rows.size()); ++r) {
        const QStringList &row = cells.rows[std::size_t(r)];
        for (int c = 0; c < columns && c < int(row.size()); ++c) {
            const std::optional<double> v = numbers::readNumber(row[c]);
            if (!v)
                continue;
            const std::size_t i = std::size_t(r * columns + c);
            result.values[i] = limitCounted(*v, current[i], window, result.limited);
        }
    }
    return result;
}

// ---- Modify ------------------------------------------------------------

std::optional<ModifyExpression> parseModifyReply(const QString &reply)
{
    const QString text = reply.trimmed();
    const bool percent = text.contains(u'%');
    const bool isSigned = text.contains(u'+') || text.contains(u'-');
    QString bare = text;
    bare.remove(u'%').remove(u'+');
    bare = bare.trimmed();
    if (bare.size() > 1 && bare.endsWith(u'-'))
        bare.chop(1);
    // Read whole, never up to the first character that is no digit: "12,5abc"
    // is not 12.
    const std::optional<double> number = numbers::readNumber(bare);
    if (!number)
        return std::nullopt;
    ModifyExpression e;
    e.number = *number + 0.0;
    if (percent)
        e.kind = isSigned ? ModifyKind::ChangeByPercent : ModifyKind::Multiply;
    else
        e.kind = isSigned ? ModifyKind::Add : ModifyKind::Set;
    return e;
}

double applyModify(const ModifyExpression &expression, double current)
{
    switch (expression.kind) {
    case ModifyKind::Set:
        return expression.number;
    case ModifyKind::Add:
        return current + expression.number;
    case ModifyKind::Multiply:
        return current * expression.number / 100;
    case ModifyKind::ChangeByPercent:
        return current * (expression.number / 100 + 1);
    }
    return current;
}

BlockResult modifyBlock(const ValueBlock &current, const ModifyExpression &expression, double ceiling,
                        const AdvanceWindow &window)
{
    // The fixed 0 .. ceiling first, then the window: both count as limits.
    const AdvanceWindow fixed{0, ceiling};
    BlockResult result{current, 0};
    for (std::size_t i = 0; i < current.size(); ++i) {
        int moved = 0;
        const double v = limitCounted(applyModify(expression, current[i]), current[i], fixed, moved);
        result.values[i] = limitCounted(v, current[i], window, moved);
        result.limited += moved > 0 ? 1 : 0;
    }
    return result;
}

double modifyCeiling(TableKind kind)
{
    return kind == TableKind::Map3D ? 45.0 : 40.0;
}

QString modifyPrompt()
{
    // The fractional example in the mark the user types ("-7,5%" in French).
    const QString fraction = numbers::shown(7.5, QStringLiteral("#0.0"));
    return QStringList{
        QStringLiteral("Enter a new value. See examples below or Help for details."),
        QStringLiteral("   Enter 30 to set all cells in selection to 30"),
        QStringLiteral("   Enter -5 to subtract 5 from each cell in selection"),
        QStringLiteral("   Enter +10 to add 10 to each cell in selection"),
        QStringLiteral("   Enter 80% to multiply each cell in selection by 80%"),
        QStringLiteral("   Enter -%1% to reduce each cell in selection by %1%").arg(fraction),
        QStringLiteral("   Enter +15% to increase each cell in selection by 15%"),
    }
        .join(QStringLiteral("\r\n"));
}

QString modifyTitle()
{
    return QStringLiteral("Modify Selection");
}

QString modifyRefusal(const QString &reply)
{
    const QString shown = reply.trimmed();
    return QStringLiteral("\"%1\" is not a value Modify can read: nothing was changed. "
                          "Enter a number such as 30, -5, +10 or 80%.")
        .arg(shown.size() > 20 ? shown.left(20) + QStringLiteral("...") : shown);
}

// ---- Interpolate, smooth, keyboard steps --------------------------------

BlockResult interpolateBlock(const ValueBlock &current, int rows, int columns, const AdvanceWindow &window)
{
    ValueBlock values = current;
    const auto at = [&](int r, int c) -> double & { return values[std::size_t(r * columns + c)]; };
    if (rows >= 2 && columns >= 2) {
        // Bilinear: the left and right edges are lines between the corners,
        // each row a line between its two edge values.
        const std::vector<double> left = straightLine(at(0, 0), at(rows - 1, 0), rows);
        const std::vector<double> right = straightLine(at(0, columns - 1), at(rows - 1, columns - 1), rows);
        for (int r = 0; r < rows; ++r) {
            const std::vector<double> line = straightLine(left[std::size_t(r)], right[std::size_t(r)], columns);
            for (int c = 0; c < columns; ++c)
                at(r, c) = line[std::size_t(c)];
        }
    } else if (columns >= 2) {
        values = straightLine(at(0, 0), at(0, columns - 1), columns);
    } else if (rows >= 2) {
        values = straightLine(at(0, 0), at(rows - 1, 0), rows);
    }
    return limitAll(std::move(values), current, window);
}

BlockResult smoothBlock(const ValueBlock &current, int rows, int columns, const AdvanceWindow &window)
{
    ValueBlock values = current;
    std::vector<std::size_t> rowStarts;
    for (int r = 0; r < rows; ++r)
        rowStarts.push_back(std::size_t(r * columns));
    smoothLines(values, rowStarts, columns, 1);
    std::vector<std::size_t> columnStarts;
    for (int c = 0; c < columns; ++c)
        columnStarts.push_back(std::size_t(c));
    smoothLines(values, columnStarts, rows, std::size_t(columns));
    return limitAll(std::move(values), current, window);
}

BlockResult stepBlock(const ValueBlock &current, double step, const AdvanceWindow &window)
{
    ValueBlock values = current;
    for (double &v : values)
        v += step;
    return limitAll(std::move(values), current, window);
}

QString limitedNote(int limited, const AdvanceWindow &window)
{
    if (limited <= 0)
        return {};
    return QStringLiteral("%1 %2 limited to the advance window %3 .. %4 degrees")
        .arg(limited)
        .arg(limited == 1 ? QStringLiteral("value") : QStringLiteral("values"))
        .arg(formatValue(window.low), formatValue(window.high));
}

QString limitedMessage(int limited, const AdvanceWindow &window)
{
    const QString note = limitedNote(limited, window);
    return note.isEmpty() ? note : note + u'.';
}

}  // namespace tunara::editor
