#pragma once

#include "image/module_image.h"
#include "tables/timing_tables.h"

#include <cstdint>

// Stored bytes are retard below the trigger timing in steps of 0.0879 degree;
// the working arrays hold degrees of advance.
namespace tunara {

// Fills both working arrays from both table regions of the image. The 2D
// curve never goes below 0; the 3D map is taken as decoded.
void decodeTables(const ModuleImage &image, int trigTiming, TimingTables &tables);

// The stored byte for an advance: (trigTiming - advance) / 0.0879, rounded
// half to even, limited to 0..255.
std::uint8_t encodeAdvance(int trigTiming, double advance);

// Write one working array into its table region; the other region and the
// 2D trigger-line column are never stored.
void encodeTable2D(const Table2D &table, int trigTiming, ModuleImage &image);
void encodeTable3D(const Table3D &table, int trigTiming, ModuleImage &image);

// Moves both table regions to a new trigger timing the way the working arrays
// move: each stored advance is kept, limited to the new window, and stored
// again as retard below the new trigger. Without it the stored retards would
// stay, and every advance the module runs would shift by the change.
void rebaseTableRegions(ModuleImage &image, int oldTrigTiming, int newTrigTiming);

}  // namespace tunara
