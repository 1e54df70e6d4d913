#pragma once

#include <array>

// Where everything lives in the module's 280-byte configuration image. The
// table codec, the parameter codec, the comparisons and the transfers all
// take their addresses from here, so a byte has one name wherever it is read.
namespace tunara::layout {

// A run of consecutive image addresses.
struct Region {
    int first;
    int size;

    constexpr int last() const { return first + size - 1; }
    constexpr bool contains(int address) const { return address >= first && address <= last(); }
    // Address of the offset-th byte of the region (0-based).
    constexpr int at(int offset) const { return first + offset; }
};

inline constexpr int ImageSize = 280;

// The bytes that travel over the link and into data files; 0..15 never do.
inline constexpr Region Transfer{16, 264};  // 16..279

// The bytes a cleared image zeroes: 256..279 keep what the last download or
// file open put there, as the module's own firmware expects.
inline constexpr Region ClearedOnReset{0, 256};  // 0..255

// The 2D curve: one byte per speed point, 500 RPM first.
inline constexpr Region Table2D{16, 21};  // 16..36

// The named module parameters, with reserved and unused bytes between them.
inline constexpr Region Parameters{48, 52};  // 48..99

// The 3D map: 8 rows of one byte per speed point, the lowest pressure row
// first.
inline constexpr int Table3DRowLength = 21;
inline constexpr Region Table3D{112, 8 * Table3DRowLength};  // 112..279

// The byte of each module parameter.
namespace address {
inline constexpr int TrigTiming = 48;
inline constexpr int CrankPulses = 49;
inline constexpr int OptionFlags = 50;
inline constexpr int MaxRPMLimit = 51;  // hundreds of RPM
inline constexpr int RetardComp = 52;
inline constexpr int StartRetard = 53;
inline constexpr int DataLogFlags = 54;
inline constexpr int MAPSensor = 55;
inline constexpr int GPIO2Mode = 72;
inline constexpr int GPIO2MinRPM = 76;  // fifties of RPM
inline constexpr int GPIO2MaxRPM = 77;  // fifties of RPM
inline constexpr int IdleStabFlags = 96;
inline constexpr int IdleStabTrigStartNum = 97;
inline constexpr int MinIdleRPM = 98;  // fifties of RPM
inline constexpr int IdleStabAdv = 99;
}  // namespace address

// Every parameter byte, in image order.
inline constexpr std::array<int, 15> ParameterAddresses{
    address::TrigTiming,  address::CrankPulses,   address::OptionFlags,   address::MaxRPMLimit,
    address::RetardComp,  address::StartRetard,   address::DataLogFlags,  address::MAPSensor,
    address::GPIO2Mode,   address::GPIO2MinRPM,   address::GPIO2MaxRPM,   address::IdleStabFlags,
    address::IdleStabTrigStartNum, address::MinIdleRPM, address::IdleStabAdv,
};

// Bytes inside the parameter block that every parameter encode writes 0.
inline constexpr std::array<Region, 4> ReservedRegions{{{64, 4}, {73, 3}, {78, 1}, {80, 11}}};

constexpr bool isParameterAddress(int address)
{
    for (int a : ParameterAddresses)
        if (a == address)
            return true;
    return false;
}

constexpr bool isReservedAddress(int address)
{
    for (const Region &r : ReservedRegions)
        if (r.contains(address))
            return true;
    return false;
}

// The layout holds together: the tables fill the transfer from both ends,
// the parameter block sits between them, and no byte has two roles.
static_assert(Transfer.last() == ImageSize - 1);
static_assert(Table2D.first == Transfer.first && Table3D.last() == Transfer.last());
static_assert(Table2D.size == Table3DRowLength);
static_assert(Table2D.last() < Parameters.first && Parameters.last() < Table3D.first);
static_assert([] {
    int previous = -1;
    for (int a : ParameterAddresses) {
        if (a <= previous || !Parameters.contains(a) || isReservedAddress(a))
            return false;
        previous = a;
    }
    for (const Region &r : ReservedRegions)
        if (!Parameters.contains(r.first) || !Parameters.contains(r.last()))
            return false;
    return true;
}());

}  // namespace tunara::layout
