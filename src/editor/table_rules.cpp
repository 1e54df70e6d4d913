#include "editor/table_rules.h"

#include "core/numbers.h"
#include "core/shown_numbers.h"
#include "image/module_parameters.h"
#include "tables/table_codec.h"

#include <algorithm>
#include <cmath>

namespace tunara::editor {

double AdvanceWindow::limit(double v) const
{
    if (v < low)
        return low;
    if (v > high)
        return high;
    return v;
}

AdvanceWindow editWindow(TableKind kind, int trigTiming)
{
    const double low = trigTiming - MaxRetard;
    if (kind == TableKind::Curve2D)
        return {std::max(0.0, low), double(trigTiming)};
    return {low, double(trigTiming)};
}

QString formatValue(double value)
{
    // A value a hair below zero rounds to zero and is shown without a sign.
    return numbers::shown(value, QStringLiteral("#0.0"));
}

double storedValue(TableKind kind, int trigTiming, double value)
{
    const double advance = trigTiming - encodeAdvance(trigTiming, value) * DegreesPerStep;
    if (kind == TableKind::Curve2D && advance < 0)
        return 0;
    return advance;
}

QString displayText(TableKind kind, int trigTiming, double value)
{
    return formatValue(storedValue(kind, trigTiming, value));
}

std::optional<double> checkTypedEntry(TableKind kind, int trigTiming, const QString &text)
{
    const std::optional<double> v = numbers::readNumber(text);
    if (!v || !editWindow(kind, trigTiming).contains(*v))
        return std::nullopt;
    return v;
}

QString entryRefusalText(TableKind kind, int trigTiming)
{
    if (kind == TableKind::Curve2D)
        return QStringLiteral("Timing must be numeric value greater than zero and within %1 degrees of trigger timing.")
            .arg(MaxRetard);
    return QStringLiteral("Timing must be numeric value between %1 and %2 degrees.")
        .arg(trigTiming - MaxRetard)
        .arg(trigTiming);
}

QString entryRefusalTitle()
{
    return QStringLiteral("Timing Edit");
}

double dragValue2D(double downValue, int downY, int y, int trigTiming)
{
    const double steps = numbers::roundHalfEven(5.0 * downValue + 0.5 * (downY - y));
    return editWindow(TableKind::Curve2D, trigTiming).limit(steps * 0.2);
}

}  // namespace tunara::editor
