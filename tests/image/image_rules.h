#pragma once

// The image map written out once more, independently of the codec, so the
// tests compare the codec against the documented layout and not against
// itself.

#include <algorithm>
#include <cstdint>
#include <set>
#include <vector>

namespace imagemap {

inline bool in(int a, int first, int last) { return a >= first && a <= last; }

inline bool isTable(int a) { return in(a, 16, 36) || in(a, 112, 279); }

inline const std::vector<int> &parameterBytes()
{
    static const std::vector<int> bytes = {48, 49, 50, 51, 52, 53, 54, 55, 72, 76, 77, 96, 97, 98, 99};
    return bytes;
}

inline bool isParameter(int a)
{
    const auto &p = parameterBytes();
    return std::find(p.begin(), p.end(), a) != p.end();
}

// Written 0 by every encode.
inline bool isReserved(int a) { return in(a, 64, 67) || in(a, 73, 75) || a == 78 || in(a, 80, 90); }

// Everything else keeps whatever it held: 0..15, 37..47, 56..63, 68..71,
// 79, 91..95, 100..111.
inline bool isCarried(int a) { return !isTable(a) && !isParameter(a) && !isReserved(a); }

// Encode order: parameters and reserved bytes, in the order they are written.
inline const std::vector<int> &encodeOrder()
{
    static const std::vector<int> order = [] {
        std::vector<int> o = {48, 49, 50, 51, 52, 53, 54, 55, 64, 65, 66, 67, 72, 73, 74, 75, 76, 77, 78};
        for (int a = 80; a <= 90; ++a)
            o.push_back(a);
        for (int a : {96, 97, 98, 99})
            o.push_back(a);
        return o;
    }();
    return order;
}

// The byte a decode followed by an encode leaves at a parameter address
// that held v before.
inline std::uint8_t normalised(int address, std::uint8_t v)
{
    switch (address) {
    case 48:
        return std::min<int>(v, 40);
    case 49:
        return std::clamp<int>(v, 2, 12);
    case 50: {
        std::uint8_t b = v & 0xFC;  // bits 0x01 and 0x02 are never written
        if (b & 0x80)
            b &= ~0x40;  // the 3D table wins over the 2D table
        return b;
    }
    case 51:
        return std::clamp<int>(v, 30, 109);
    case 54:
    case 96:
        return v & 0x01;
    default:
        return v;  // 52, 53, 55, 72, 76, 77, 97, 98, 99 go back as they came
    }
}

}  // namespace imagemap
