#pragma once

#include "image/image_layout.h"

#include <array>
#include <cstdint>

namespace tunara {

// The program's one copy of the module's configuration memory.
struct ModuleImage {
    static constexpr int Size = layout::ImageSize;
    // Only addresses 16..279 travel over the link and into data files.
    static constexpr int FirstTransferAddress = layout::Transfer.first;
    static constexpr int LastTransferAddress = layout::Transfer.last();
    static constexpr int TransferLength = layout::Transfer.size;  // 264

    std::array<std::uint8_t, Size> EEPROMBuffer{};
    bool DataBufferEmpty = true;

    // Zeroes bytes 0..255 only: bytes 256..279 keep what the last download or
    // file open put there, as the module's own firmware expects.
    void ClearEEPROMBuffer();
};

}  // namespace tunara
