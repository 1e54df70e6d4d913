#pragma once

#include <cstdint>

namespace tunara {

// Degrees of one stored angle step (table retard, retard compensation,
// start retard, idle advance). Exactly this constant, not 360/4096.
inline constexpr double DegreesPerStep = 0.0879;

// Width of the advance window below the trigger timing, in degrees.
inline constexpr int MaxRetard = 22;

// The named module parameters decoded from and encoded into the image.
// Integers are whole numbers in the units named; bytes are raw.
struct ModuleParameters {
    int TrigTiming = 30;  // degrees, 0..40
    int CrankPulses = 2;  // 2..12
    std::uint8_t OptionFlags = 0x1C;
    bool RPMLimitEnable = true;      // 0x04
    bool MultiSparkEnable = true;    // 0x08
    bool TimingEnable = true;        // 0x10
    bool FixedMaxRPMLimit = false;   // 0x20
    bool TimingTable2D = false;      // 0x40
    bool TimingTable3D = false;      // 0x80
    int MaxRPMLimit = 3000;          // RPM, 3000..10900
    int RetardComp = 0;              // steps of DegreesPerStep
    int StartRetard = 0;             // steps; 0 = automatic start retard off
    std::uint8_t DataLogFlags = 0;
    bool HighSpeedDataLog = false;   // 0x01
    std::uint8_t MAPSensor = 0;      // 0 = 1 bar, 1 = 2 bar, 2 = 3 bar
    std::uint8_t GPIO2Mode = 0;
    int GPIO2MinRPM = 3000;          // RPM, steps of 50
    int GPIO2MaxRPM = 6000;          // RPM, steps of 50
    std::uint8_t IdleStabFlags = 0;
    bool IdleStabEnable = false;     // 0x01
    int IdleStabTrigStartNum = 50;   // trigger pulses
    int MinIdleRPM = 500;            // RPM, steps of 50
    int IdleStabAdv = 0;             // steps of DegreesPerStep

    bool operator==(const ModuleParameters &) const = default;
};

// Option flag bits of image byte 50.
namespace OptionBits {
inline constexpr std::uint8_t RPMLimit = 0x04;
inline constexpr std::uint8_t MultiSpark = 0x08;
inline constexpr std::uint8_t Timing = 0x10;
inline constexpr std::uint8_t FixedMaxRPM = 0x20;
inline constexpr std::uint8_t Table2D = 0x40;
inline constexpr std::uint8_t Table3D = 0x80;
}  // namespace OptionBits

}  // namespace tunara
