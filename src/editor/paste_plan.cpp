#include "editor/paste_plan.h"

#include "core/numbers.h"

#include <algorithm>
#include <limits>
#include <map>
#include <utility>

namespace tunara::editor {

namespace {

// No advance comes near this, every RPM heading but the first is above it:
// a first row holding such a number is a heading row.
constexpr double HeadingFloor = 100;
constexpr int Skip = -1;

const QString &cellAt(const QStringList &row, int column)
{
    static const QString blank;
    return column < row.size() ? row[column] : blank;
}

bool isCornerText(const QString &text)
{
    const QString t = text.trimmed();
    return t.compare(QStringLiteral("RPM"), Qt::CaseInsensitive) == 0 ||
           t.compare(QStringLiteral("MAP/RPM"), Qt::CaseInsensitive) == 0;
}

// A heading matches as text or, "1000.0" for "1000", as a number.
int headingIndex(const QStringList &headings, const QString &pasted)
{
    const QString text = pasted.trimmed();
    const std::optional<double> number = numbers::readNumber(text);
    for (int i = 0; i < headings.size(); ++i) {
        if (text.compare(headings[i], Qt::CaseInsensitive) == 0)
            return i;
        if (number && numbers::readNumber(headings[i]) == number)
            return i;
    }
    return Skip;
}

bool firstRowIsHeadings(const ClipCells &cells)
{
    if (cells.rows.empty())
        return false;
    const QStringList &row = cells.rows.front();
    if (!row.isEmpty() && isCornerText(row.front()))
        return true;
    return std::any_of(row.begin(), row.end(), [](const QString &cell) {
        const std::optional<double> v = numbers::readNumber(cell);
        return v && *v > HeadingFloor;
    });
}

// A first column is labels only under a heading row that starts with a
// corner, blank or worded, as the CSV export and a spreadsheet copy of the
// grid write it. A block of plain numbers whose first column happens to
// equal the pressure labels (a flat 22.0 under a 1 bar sensor) is values.
bool firstColumnIsLabels(const ClipCells &cells, bool rowHeadings)
{
    if (!rowHeadings)
        return false;
    const QString first = cellAt(cells.rows.front(), 0).trimmed();
    return first.isEmpty() || !numbers::readNumber(first);
}

// "24–30" for a range of headings, "24" for one.
QString headingRange(const QStringList &headings, int first, int last)
{
    const QString from = headings.value(first).trimmed();
    return first == last ? from : from + u'\u2013' + headings.value(last).trimmed();
}

// What the status bar says of a block placed by its headings: the rows'
// labels (the 2D grid has one row and says none) and the RPM covered.
QString placedByHeadings(const CellRect &target, const PasteTable &table)
{
    QString text = QStringLiteral("pasted by headings: ");
    if (table.rows > 1)
        text += (target.rows > 1 ? QStringLiteral("rows ") : QStringLiteral("row ")) +
                headingRange(table.headings.rows, target.top, target.bottom()) + QStringLiteral(", ");
    return text + headingRange(table.headings.columns, target.left, target.right()) + QStringLiteral(" RPM");
}

QString refusal(const QString &heading, const QString &what)
{
    const QString shown = heading.trimmed().left(20);
    const QString named = shown.isEmpty() ? QStringLiteral("a blank heading") : u'"' + shown + u'"';
    return QStringLiteral("Nothing was pasted: %1 names no %2 of this table.").arg(named, what);
}

// Where each pasted line (row or column) lands: by its heading when the
// block has headings, else from `first` on, cut at `count`. Lines past the
// headings that hold nothing are skipped; a heading that names nothing
// refuses the paste.
struct LineMap {
    std::vector<int> to;
    bool cut = false;
    QString refusal;
};

LineMap mapLines(int lines, int dataStart, const std::function<QString(int)> &heading,
                 const std::function<bool(int)> &isBlank, const QStringList *headings, int first, int count,
                 const QString &what)
{
    LineMap map;
    map.to.assign(std::size_t(lines), Skip);
    for (int i = dataStart; i < lines; ++i) {
        if (!headings) {
            const int to = first + i - dataStart;
            map.cut = map.cut || (to >= count && !isBlank(i));
            map.to[std::size_t(i)] = to < count ? to : Skip;
            continue;
        }
        const int to = headingIndex(*headings, heading(i));
        if (to == Skip && !(heading(i).trimmed().isEmpty() && isBlank(i))) {
            map.refusal = refusal(heading(i), what);
            return map;
        }
        map.to[std::size_t(i)] = to;
    }
    return map;
}

PastePlan ownCopyPaste(const QString &text, const OwnCopy &own, const CellRect &selection, const PasteTable &table)
{
    const ClipCells cells = parseClipText(text, table.rows, table.columns);
    PastePlan plan;
    plan.target = pasteTarget(selection, own.rowSpan, own.columnSpan, cells, table.rows, table.columns);
    ValueBlock current;
    for (int r = plan.target.top; r <= plan.target.bottom(); ++r)
        for (int c = plan.target.left; c <= plan.target.right(); ++c)
            current.push_back(table.values[std::size_t(r * table.columns + c)]);
    plan.result = pasteCells(current, plan.target.rows, plan.target.columns, cells, table.window);
    // The block the copy's rule asks for, cut at the grid's edge or not.
    constexpr int NoEdge = std::numeric_limits<int>::max();
    plan.cut = pasteTarget(selection, own.rowSpan, own.columnSpan, cells, NoEdge, NoEdge) != plan.target;
    return plan;
}

// Writes the mapped cells into the rectangle that holds them all.
void writeCells(PastePlan &plan, const std::map<std::pair<int, int>, QString> &landed, const PasteTable &table)
{
    if (landed.empty())
        return;
    int top = table.rows, left = table.columns, bottom = -1, right = -1;
    for (const auto &[at, text] : landed) {
        top = std::min(top, at.first);
        bottom = std::max(bottom, at.first);
        left = std::min(left, at.second);
        right = std::max(right, at.second);
    }
    plan.target = {top, left, bottom - top + 1, right - left + 1};
    for (int r = top; r <= bottom; ++r)
        for (int c = left; c <= right; ++c)
            plan.result.values.push_back(table.values[std::size_t(r * table.columns + c)]);
    for (const auto &[at, text] : landed) {
        const std::optional<double> v = numbers::readNumber(text);
        if (!v) {
            plan.skipped += text.trimmed().isEmpty() ? 0 : 1;
            continue;
        }
        const double kept = table.window.limit(*v) + 0.0;
        plan.result.limited += kept != *v ? 1 : 0;
        plan.result.values[std::size_t((at.first - top) * plan.target.columns + at.second - left)] = kept;
    }
}

}  // namespace

PastePlan planPaste(const QString &text, const OwnCopy &own, const CellRect &selection, const PasteTable &table)
{
    if (!own.text.isEmpty() && text == own.text)
        return ownCopyPaste(text, own, selection, table);
    // One row and column more than the grid: room for the headings.
    const ClipCells cells = parseClipText(text, table.rows + 1, table.columns + 1);
    PastePlan plan;
    if (cells.rows.empty())
        return plan;
    const bool rowHeadings = firstRowIsHeadings(cells);
    const bool labels = firstColumnIsLabels(cells, rowHeadings);
    const int textRows = int(cells.rows.size());
    const int textColumns = cells.columns();
    // A block without headings stays inside a selected block of several
    // cells; from a single cell it runs to the grid's edge.
    const bool fill = !rowHeadings && !labels && selection.count() > 1;
    const int rowEnd = fill ? selection.bottom() + 1 : table.rows;
    const int columnEnd = fill ? selection.right() + 1 : table.columns;
    const auto rowBlank = [&](int r) {
        const QStringList &row = cells.rows[std::size_t(r)];
        return std::all_of(row.begin() + (labels ? std::min<qsizetype>(1, row.size()) : 0), row.end(),
                           [](const QString &cell) { return cell.trimmed().isEmpty(); });
    };
    const auto columnBlank = [&](int c) {
        for (int r = rowHeadings ? 1 : 0; r < textRows; ++r)
            if (!cellAt(cells.rows[std::size_t(r)], c).trimmed().isEmpty())
                return false;
        return true;
    };
    const LineMap columns =
        mapLines(textColumns, labels ? 1 : 0, [&](int c) { return cellAt(cells.rows.front(), c); }, columnBlank,
                 rowHeadings ? &table.headings.columns : nullptr, selection.left, columnEnd,
                 QStringLiteral("RPM column"));
    const LineMap rows = mapLines(textRows, rowHeadings ? 1 : 0,
                                  [&](int r) { return cellAt(cells.rows[std::size_t(r)], 0); }, rowBlank,
                                  labels ? &table.headings.rows : nullptr, selection.top, rowEnd,
                                  table.rows == 1 ? QStringLiteral("row") : QStringLiteral("MAP row"));
    plan.refusal = !columns.refusal.isEmpty() ? columns.refusal : rows.refusal;
    if (!plan.refusal.isEmpty())
        return plan;
    plan.cut = !fill && (cells.cut || columns.cut || rows.cut);
    plan.droppedMore = fill && cells.cut;
    std::map<std::pair<int, int>, QString> landed;
    for (int r = 0; r < textRows; ++r) {
        for (int c = 0; c < textColumns; ++c) {
            const QString &cell = cellAt(cells.rows[std::size_t(r)], c);
            if (rows.to[std::size_t(r)] != Skip && columns.to[std::size_t(c)] != Skip)
                landed[{rows.to[std::size_t(r)], columns.to[std::size_t(c)]}] = cell;
            else if (fill && !cell.trimmed().isEmpty())
                ++plan.dropped;
        }
    }
    writeCells(plan, landed, table);
    if ((rowHeadings || labels) && !plan.target.isEmpty())
        plan.placedBy = placedByHeadings(plan.target, table);
    return plan;
}

QString pasteMessage(const PastePlan &plan, const AdvanceWindow &window)
{
    QStringList parts;
    if (plan.result.limited > 0)
        parts << limitedMessage(plan.result.limited, window);
    if (plan.skipped > 0)
        parts << (plan.skipped == 1 ? QStringLiteral("1 pasted cell holds no number: its cell keeps its value.")
                                    : QStringLiteral("%1 pasted cells hold no number: their cells keep their values.")
                                          .arg(plan.skipped));
    if (plan.cut)
        parts << QStringLiteral("Cells beyond the table's edge were left out.");
    return parts.join(u' ');
}

QString pasteNote(const PastePlan &plan, const AdvanceWindow &window)
{
    QStringList parts;
    if (!plan.placedBy.isEmpty())
        parts << plan.placedBy;
    if (plan.result.limited > 0)
        parts << limitedNote(plan.result.limited, window);
    if (plan.dropped > 0) {
        const bool one = plan.dropped == 1 && !plan.droppedMore;
        QString dropped = QStringLiteral("%1%2 beyond the selection %3 left out")
                              .arg(plan.droppedMore ? QStringLiteral("more than ") : QString(),
                                   one ? QStringLiteral("1 pasted cell")
                                       : QStringLiteral("%1 pasted cells").arg(plan.dropped),
                                   one ? QStringLiteral("was") : QStringLiteral("were"));
        if (parts.isEmpty())
            dropped[0] = dropped[0].toUpper();
        parts << dropped;
    }
    return parts.join(QStringLiteral("; "));
}

}  // namespace tunara::editor
