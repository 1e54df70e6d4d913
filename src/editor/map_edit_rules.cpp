#include "editor/map_edit_rules.h"

#include "core/numbers.h"
#include "editor/table_rules.h"

#include <algorithm>

namespace tunara::editor {

double dragValue3D(double z, int trigTiming)
{
    const double steps = numbers::roundHalfEven(5.0 * z);
    return editWindow(TableKind::Map3D, trigTiming).limit(steps * 0.2);
}

double shiftOffset3D(double z, double current)
{
    const double offset = numbers::roundHalfEven(2.0 * (z - current)) * 0.2;
    return std::clamp(offset, -MaxMapShift, MaxMapShift);
}

ValueBlock shiftedMap(const ValueBlock &values, double offset, int trigTiming)
{
    const AdvanceWindow window = editWindow(TableKind::Map3D, trigTiming);
    ValueBlock out;
    out.reserve(values.size());
    for (double v : values)
        out.push_back(window.limit(v + offset));
    return out;
}

}  // namespace tunara::editor
