#include "compare/difference_summary.h"

#include "core/shown_numbers.h"

#include <QStringList>

#include <algorithm>
#include <cmath>

namespace tunara::compare {

namespace {

// The module runs the 3D map when both tables are selected.
bool runs3D(const ModuleParameters &p)
{
    return p.TimingTable3D;
}

bool runs2D(const ModuleParameters &p)
{
    return p.TimingTable2D && !p.TimingTable3D;
}

QString counted(int count, const char *one, const char *many)
{
    return QStringLiteral("%1 %2").arg(count).arg(QLatin1String(count == 1 ? one : many));
}

}  // namespace

QString DifferenceSummary::text(const QLocale &locale) const
{
    if (same())
        return QStringLiteral("same");
    QStringList parts;
    if (parameters > 0)
        parts << counted(parameters, "parameter", "parameters");
    if (cells > 0)
        parts << counted(cells, "cell", "cells") << QStringLiteral("up to %1°").arg(numbers::shown(largest, QStringLiteral("#0.0"), locale));
    if (otherBytes > 0)
        parts << counted(otherBytes, "other byte", "other bytes");
    return parts.join(QStringLiteral(", "));
}

DifferenceSummary summarise(const ImageDiff &diff, const ModuleData &from, const ModuleData &to)
{
    const bool table2D = runs2D(from.params) || runs2D(to.params);
    const bool table3D = runs3D(from.params) || runs3D(to.params);
    DifferenceSummary s;
    s.parameters = int(diff.parameters.size());
    s.otherBytes = int(diff.carriedBytes.size());
    const auto add = [&s](const std::vector<CellDifference> &cells, bool running) {
        if (!running) {
            s.otherBytes += int(cells.size());
            return;
        }
        s.cells += int(cells.size());
        for (const CellDifference &c : cells)
            s.largest = std::max(s.largest, std::abs(c.difference()));
    };
    add(diff.cells2D, table2D);
    add(diff.cells3D, table3D);
    return s;
}

std::vector<CellDifference> runningCells(const ImageDiff &diff, const ModuleData &from, const ModuleData &to,
                                         bool *is3D)
{
    const ModuleParameters &p = runs3D(to.params) || runs2D(to.params) ? to.params : from.params;
    if (is3D)
        *is3D = runs3D(p);
    if (runs3D(p))
        return diff.cells3D;
    return runs2D(p) ? diff.cells2D : std::vector<CellDifference>{};
}

QString parameterChangeText(const ParameterDifference &change)
{
    return QStringLiteral("%1: %2 -> %3")
        .arg(QLatin1String(change.a.name), parameterValueText(change.a), parameterValueText(change.b));
}

}  // namespace tunara::compare
