#include "image/module_image.h"

#include <algorithm>

namespace tunara {

void ModuleImage::ClearEEPROMBuffer()
{
    const auto cleared = EEPROMBuffer.begin() + layout::ClearedOnReset.first;
    std::fill(cleared, cleared + layout::ClearedOnReset.size, std::uint8_t{0});
    DataBufferEmpty = true;
}

QByteArray transferBytes(const std::array<std::uint8_t, ModuleImage::Size> &bytes)
{
    return QByteArray(reinterpret_cast<const char *>(bytes.data() + ModuleImage::FirstTransferAddress),
                      ModuleImage::TransferLength);
}

}  // namespace tunara
