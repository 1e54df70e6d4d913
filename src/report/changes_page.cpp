#include "report/changes_page.h"

#include "core/numbers.h"
#include "report/grid_cells.h"
#include "tables/table_axes.h"

#include <cmath>
#include <utility>

namespace tunara::report {

namespace {

using Entry = std::pair<QString, QString>;  // caption, value

bool isSectionTitle(const QString &text)
{
    static const QStringList titles{QStringLiteral("General Options"), QStringLiteral("Timing Table Options"),
                                    QStringLiteral("Idle Stabilization Parameters"),
                                    QStringLiteral("General Purpose Input/Ouput Parameters")};
    return titles.contains(text);
}

// The listing's parameter lines as captions and values: "Cranking Pulses"
// and "4"; the option lines of a section under the section's title.
std::vector<Entry> entries(const ReportInputs &in, const ModuleParameters &params)
{
    ReportInputs side = in;
    side.params = params;
    std::vector<Entry> out;
    QString section;
    bool started = false;
    for (const ReportLine &line : parameterListing(side)) {
        if (line.items.size() == 2 && started) {
            QString caption = line.items[0].text;
            if (caption.endsWith(u':'))
                caption.chop(1);
            out.emplace_back(caption, line.items[1].text);
        } else if (line.items.size() == 1) {
            const QString &text = line.items[0].text;
            started = started || text == QStringLiteral("Module Parameters");
            if (isSectionTitle(text)) {
                section = text;
                out.emplace_back(section, QString());
            } else if (started && !section.isEmpty()) {
                QString &options =
                    out.back().first == section ? out.back().second : out.emplace_back(section, QString()).second;
                options += (options.isEmpty() ? QString() : QStringLiteral(", ")) + text;
            }
        }
    }
    return out;
}

QString valueOf(const std::vector<Entry> &list, const QString &caption)
{
    for (const Entry &e : list)
        if (e.first == caption)
            return e.second;
    return QStringLiteral("-");
}

enum class Kind { None, Curve2D, Map3D };

// The table the report prints: the 2D curve when its flag is set.
Kind printedKind(const ModuleParameters &p)
{
    return p.TimingTable2D ? Kind::Curve2D : p.TimingTable3D ? Kind::Map3D : Kind::None;
}

QString kindText(Kind kind)
{
    return kind == Kind::Curve2D ? QStringLiteral("a 2D timing table")
           : kind == Kind::Map3D ? QStringLiteral("a 3D timing table")
                                 : QStringLiteral("no timing table");
}

// Signed, one decimal; blank where the stored advance is the same.
QString differenceText(double difference)
{
    if (std::abs(difference) < 1e-9)
        return {};
    return (difference > 0 ? QStringLiteral("+") : QStringLiteral("-")) +
           numbers::format(std::abs(difference), QStringLiteral("#0.0"));
}

QList<QStringList> differenceCells(Kind kind, const TuneVersion &before, const TuneVersion &after)
{
    if (kind == Kind::Curve2D) {
        QList<QStringList> cells = gridCells2D(after.table2D);
        for (int p = 1; p <= SpeedPoints; ++p)
            cells[1][p] = differenceText(after.table2D(p, 1) - before.table2D(p, 1));
        return cells;
    }
    QList<QStringList> cells = gridCells3D(after.table3D, after.params.MAPSensor);
    for (int r = 1; r <= PressureRows; ++r) {
        const int m = axes::pressureIndexOfGridRow(r);
        for (int p = 1; p <= SpeedPoints; ++p)
            cells[r][p] = differenceText(after.table3D(p, m) - before.table3D(p, m));
    }
    return cells;
}

QString fieldRow(const QStringList &row, int first, int last)
{
    QString line = fixedWidth(row.value(0));
    for (int c = first; c <= last; ++c)
        line += fixedWidth(row.value(c));
    return line;
}

ReportLine text(const QString &t)
{
    return {{{TextColumn, t}}};
}

void appendTableChanges(std::vector<ReportLine> &lines, const TuneVersion &before, const TuneVersion &after)
{
    const Kind kind = printedKind(after.params);
    if (kind != printedKind(before.params)) {
        lines.push_back(text(QStringLiteral("The tables differ in kind: %1 holds %2, %3 holds %4.")
                                 .arg(printable(before.name), kindText(printedKind(before.params)),
                                      printable(after.name), kindText(kind))));
        return;
    }
    if (kind == Kind::None)
        return;
    lines.push_back(text(QStringLiteral("Timing Table Changes (Deg)")));
    lines.push_back({});
    const QList<QStringList> cells = differenceCells(kind, before, after);
    for (const QStringList &row : cells)
        lines.push_back(text(fieldRow(row, 1, 11)));
    lines.push_back({});
    lines.push_back({});
    for (const QStringList &row : cells)
        lines.push_back(text(fieldRow(row, 12, 21)));
}

}  // namespace

std::vector<QString> parameterChanges(const ReportInputs &in, const ModuleParameters &before,
                                      const ModuleParameters &after)
{
    const std::vector<Entry> was = entries(in, before);
    const std::vector<Entry> now = entries(in, after);
    std::vector<QString> changes;
    const auto add = [&changes](const QString &caption, const QString &a, const QString &b) {
        if (a != b)
            changes.push_back(QStringLiteral("%1: %2 → %3").arg(caption, a, b));
    };
    for (const Entry &e : now)
        add(e.first, valueOf(was, e.first), e.second);
    // Lines only the other tune prints (a limit switched off since).
    for (const Entry &e : was)
        if (valueOf(now, e.first) == QStringLiteral("-") && e.second != QStringLiteral("-"))
            add(e.first, e.second, QStringLiteral("-"));
    return changes;
}

std::vector<ReportLine> changesSection(const ReportInputs &in, const TuneVersion &before, const TuneVersion &after)
{
    std::vector<ReportLine> lines{text(headerText(in.companyName, in.printedAt)), {}};
    lines.push_back(text(QStringLiteral("Changes from %1 (%2)").arg(printable(before.name), printable(before.date))));
    lines.push_back(text(QStringLiteral("to %1 (%2)").arg(printable(after.name), printable(after.date))));
    lines.push_back({});
    lines.push_back(text(QStringLiteral("Module Parameters")));
    lines.push_back({});
    const std::vector<QString> changes = parameterChanges(in, before.params, after.params);
    if (changes.empty())
        lines.push_back(text(QStringLiteral("No parameter differs.")));
    for (const QString &change : changes)
        lines.push_back(text(change));
    lines.push_back({});
    appendTableChanges(lines, before, after);
    return lines;
}

void appendChangesPage(ReportDocument &doc, const ReportInputs &in, const TuneVersion &before, const TuneVersion &after)
{
    doc.pages.push_back({{TextBlock{SectionTopTwips, changesSection(in, before, after)}}, false});
}

}  // namespace tunara::report
