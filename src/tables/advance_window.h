#pragma once

#include "image/module_parameters.h"

#include <algorithm>

namespace tunara {

// The range of advances a typed entry may take for a trigger timing: up to
// the trigger timing and at most MaxRetard below it; the 2D curve also never
// goes below 0.
struct AdvanceWindow {
    double low;
    double high;

    bool contains(double advance) const { return advance >= low && advance <= high; }

    static AdvanceWindow for2D(int trigTiming) { return {std::max(0, trigTiming - MaxRetard) * 1.0, trigTiming * 1.0}; }
    static AdvanceWindow for3D(int trigTiming) { return {(trigTiming - MaxRetard) * 1.0, trigTiming * 1.0}; }
};

}  // namespace tunara
