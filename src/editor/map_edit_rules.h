#pragma once

#include "editor/cell_block.h"

// How the 3D map's mouse gestures turn into values: a single point dragged
// to a position, and the whole map shifted by an offset.
namespace tunara::editor {

// A point dragged to where the chart says its value would be z: a multiple
// of 0.2 degree (exact halves of a step to the even step), then limited to
// TrigTiming - 22 .. TrigTiming (no floor at 0).
double dragValue3D(double z, int trigTiming);

// The whole-map offset of a Shift-drag: the caught point's value is
// `current`, the chart puts the mouse at z. Two fifths of the travel, in
// steps of 0.2 degree (halves to even), limited to -5 .. +5.
double shiftOffset3D(double z, double current);

// Every value moved by the offset, then limited to TrigTiming - 22 ..
// TrigTiming.
ValueBlock shiftedMap(const ValueBlock &values, double offset, int trigTiming);

inline constexpr double MaxMapShift = 5.0;

}  // namespace tunara::editor
