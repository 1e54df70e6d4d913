#pragma once

#include "image/image_layout.h"

#include <QByteArray>

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

// The 264 bytes the link and the data files carry: addresses 16..279.
QByteArray transferBytes(const std::array<std::uint8_t, ModuleImage::Size> &bytes);
inline QByteArray transferBytes(const ModuleImage &image)
{
    return transferBytes(image.EEPROMBuffer);
}

}  // namespace tunara
