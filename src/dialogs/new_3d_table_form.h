#pragma once

#include "tables/timing_tables.h"

// What the new 3D table wizard works with, apart from its window: the two
// slider values and the rules that keep the base timing inside the advance
// window below the trigger timing.
namespace tunara::wizards {

struct New3DTableForm {
    static constexpr int SliderTop = 40;  // slider position p stands for 40 - p degrees

    int TrigTimingVal = 0;
    int BaseTmgVal = 20;

    // The values at open for the module's trigger timing: base 20 degrees,
    // kept at or below the trigger timing, within 22 degrees of it, and
    // never below 0.
    static New3DTableForm opened(int trigTiming);

    // The slider handlers: each takes the slider's new position and leaves
    // the values consistent; the sliders are then put where the values say.
    void moveBaseSlider(int position);
    void moveTrigSlider(int position);

    static int positionOf(int timing) { return SliderTop - timing; }
    static int timingAt(int position);

    bool operator==(const New3DTableForm &) const = default;

private:
    // The base brought back inside the trigger timing's window (not below 0).
    void keepBaseInWindow();
};

// Every cell of the map at one advance: a flat map.
Table3D flatMap(int advance);

// The advance a flat map of `base` must take to lie inside the window of
// `trigTiming` (trigTiming - 22 .. trigTiming).
int baseInWindow(int base, int trigTiming);

}  // namespace tunara::wizards
