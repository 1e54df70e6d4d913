#pragma once

#include "module/module_data.h"

namespace tunara {

// Image -> parameters and both working tables. Every byte value decodes
// (the clamps apply on the way in); DataBufferEmpty is left alone.
void UpdateParams(ModuleData &data);

// Parameters -> parameter block of the image, in image order. Throws a
// RuntimeError (overflow) when an unclamped value does not fit its byte;
// the bytes written before it stay written. Table regions are not touched.
void UpdateEEPROM(ModuleData &data);

// True when a decode and an encode give back image bytes 16..279 unchanged:
// the bytes are exactly what a save writes for them.
bool isAsSaved(const ModuleImage &image);

}  // namespace tunara
