#include "image/module_image.h"

#include <algorithm>

namespace tunara {

void ModuleImage::ClearEEPROMBuffer()
{
    std::fill(EEPROMBuffer.begin(), EEPROMBuffer.begin() + 256, std::uint8_t{0});
    DataBufferEmpty = true;
}

}  // namespace tunara
