#include "image/module_image.h"

#include <algorithm>

namespace tunara {

void ModuleImage::ClearEEPROMBuffer()
{
    const auto cleared = EEPROMBuffer.begin() + layout::ClearedOnReset.first;
    std::fill(cleared, cleared + layout::ClearedOnReset.size, std::uint8_t{0});
    DataBufferEmpty = true;
}

}  // namespace tunara
