#pragma once

#include "image/module_image.h"

#include <QString>

#include <array>
#include <cstdint>

// Whether a module still holds what the program last knew it held (the
// download's bytes), judged from the upload's first read before any byte
// is written.
namespace tunara::compare {

struct ModuleChange {
    bool differs = false;
    // "firmware V2.3, downloaded from V2.0; 3 parameters and 168 cells
    // differ, up to 6.2°"; empty when nothing differs.
    QString text;
};

using ImageBytes = std::array<std::uint8_t, ModuleImage::Size>;

// Compares the 264 bytes that travel over the link. A firmware line is
// judged only when both are known (a data file carries none).
ModuleChange moduleChange(const ImageBytes &expected, const ImageBytes &present, const QString &expectedFirmware = {},
                          const QString &presentFirmware = {});

}  // namespace tunara::compare
