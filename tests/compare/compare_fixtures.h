#pragma once

// Images for the comparison tests: random content, and content as the
// program itself writes it (decoded and encoded once, tables in the window).

#include "module/module_data.h"
#include "module/parameter_codec.h"

#include <random>

namespace comparetest {

inline tunara::ModuleData decoded(const tunara::ModuleImage &image)
{
    tunara::ModuleData data;
    data.image = image;
    tunara::UpdateParams(data);
    return data;
}

inline tunara::ModuleImage randomImage(std::mt19937 &rng)
{
    tunara::ModuleImage image;
    for (int a = 16; a < 280; ++a)
        image.EEPROMBuffer[a] = static_cast<std::uint8_t>(rng() & 0xFF);
    return image;
}

// A file the program wrote: parameters normalised, every table byte inside
// the advance window, table mode 2D or 3D as asked.
inline tunara::ModuleImage programImage(std::mt19937 &rng, bool is3D)
{
    tunara::ModuleImage image = randomImage(rng);
    auto &b = image.EEPROMBuffer;
    b[48] = static_cast<std::uint8_t>(22 + rng() % 19);  // 22..40: 2D cells never below 0
    b[50] = is3D ? 0x9C : 0x5C;
    for (int a = 16; a <= 36; ++a)
        b[a] = static_cast<std::uint8_t>(rng() % 251);
    for (int a = 112; a < 280; ++a)
        b[a] = static_cast<std::uint8_t>(rng() % 251);
    tunara::ModuleData data = decoded(image);
    tunara::UpdateEEPROM(data);
    return data.image;
}

}  // namespace comparetest
