#include "module/parameter_codec.h"

#include "core/numbers.h"
#include "core/runtime_error.h"
#include "tables/table_codec.h"

#include <algorithm>

namespace tunara {

namespace {

using Bytes = std::array<std::uint8_t, ModuleImage::Size>;

void decodeOptionFlags(std::uint8_t byte, ModuleParameters &p)
{
    p.OptionFlags = byte;
    p.RPMLimitEnable = byte & OptionBits::RPMLimit;
    p.MultiSparkEnable = byte & OptionBits::MultiSpark;
    p.TimingEnable = byte & OptionBits::Timing;
    p.FixedMaxRPMLimit = byte & OptionBits::FixedMaxRPM;
    p.TimingTable3D = byte & OptionBits::Table3D;
    // The 3D bit wins: the module never runs both tables.
    p.TimingTable2D = (byte & OptionBits::Table2D) && !p.TimingTable3D;
}

std::uint8_t assembleOptionFlags(const ModuleParameters &p)
{
    std::uint8_t byte = 0;
    if (p.RPMLimitEnable) byte |= OptionBits::RPMLimit;
    if (p.MultiSparkEnable) byte |= OptionBits::MultiSpark;
    if (p.TimingEnable) byte |= OptionBits::Timing;
    if (p.FixedMaxRPMLimit) byte |= OptionBits::FixedMaxRPM;
    if (p.TimingTable2D) byte |= OptionBits::Table2D;
    if (p.TimingTable3D) byte |= OptionBits::Table3D;
    return byte;
}

// A whole-number parameter into one byte, with the overflow check that
// stops the encode.
std::uint8_t toByte(double value, const char *parameter, int address)
{
    if (value < 0 || value > 255)
        throw RuntimeError(OverflowErrorNumber, QStringLiteral("UpdateEEPROM"),
                           QStringLiteral("Overflow - %1 value %2 does not fit in EEPROM byte %3 (0 to 255).")
                               .arg(QLatin1String(parameter))
                               .arg(value)
                               .arg(address));
    return static_cast<std::uint8_t>(value);
}

std::uint8_t rpmSteps(int rpm, int step, const char *parameter, int address)
{
    return toByte(numbers::roundHalfEven(double(rpm) / step), parameter, address);
}

void zero(Bytes &b, int first, int last)
{
    std::fill(b.begin() + first, b.begin() + last + 1, std::uint8_t{0});
}

}  // namespace

void UpdateParams(ModuleData &data)
{
    const Bytes &b = data.image.EEPROMBuffer;
    ModuleParameters &p = data.params;

    // The trigger timing first: the tables are converted with its clamped value.
    p.TrigTiming = std::min<int>(b[48], 40);
    DecodeTables(data.image, p.TrigTiming, data.tables);

    p.CrankPulses = std::clamp<int>(b[49], 2, 12);
    decodeOptionFlags(b[50], p);
    p.MaxRPMLimit = std::clamp(b[51] * 100, 3000, 10900);
    p.RetardComp = b[52];
    p.StartRetard = b[53];
    p.DataLogFlags = b[54];
    p.HighSpeedDataLog = b[54] & 0x01;
    p.MAPSensor = b[55];
    p.GPIO2Mode = b[72];
    p.GPIO2MinRPM = b[76] * 50;
    p.GPIO2MaxRPM = b[77] * 50;
    p.IdleStabFlags = b[96];
    p.IdleStabEnable = b[96] & 0x01;
    p.IdleStabTrigStartNum = b[97];
    p.MinIdleRPM = b[98] * 50;
    p.IdleStabAdv = b[99];
}

void UpdateEEPROM(ModuleData &data)
{
    Bytes &b = data.image.EEPROMBuffer;
    ModuleParameters &p = data.params;

    b[48] = static_cast<std::uint8_t>(std::clamp(p.TrigTiming, 0, 40));
    b[49] = static_cast<std::uint8_t>(std::clamp(p.CrankPulses, 2, 12));
    p.OptionFlags = assembleOptionFlags(p);
    b[50] = p.OptionFlags;
    b[51] = static_cast<std::uint8_t>(std::clamp(numbers::roundHalfEven(p.MaxRPMLimit / 100.0), 30.0, 109.0));
    b[52] = toByte(p.RetardComp, "RetardComp", 52);
    b[53] = toByte(p.StartRetard, "StartRetard", 53);
    p.DataLogFlags = p.HighSpeedDataLog ? 1 : 0;
    b[54] = p.DataLogFlags;
    b[55] = p.MAPSensor;
    zero(b, 64, 67);
    b[72] = p.GPIO2Mode;
    zero(b, 73, 75);
    b[76] = rpmSteps(p.GPIO2MinRPM, 50, "GPIO2MinRPM", 76);
    b[77] = rpmSteps(p.GPIO2MaxRPM, 50, "GPIO2MaxRPM", 77);
    b[78] = 0;
    zero(b, 80, 90);
    p.IdleStabFlags = p.IdleStabEnable ? 1 : 0;
    b[96] = p.IdleStabFlags;
    b[97] = toByte(p.IdleStabTrigStartNum, "IdleStabTrigStartNum", 97);
    b[98] = rpmSteps(p.MinIdleRPM, 50, "MinIdleRPM", 98);
    b[99] = toByte(p.IdleStabAdv, "IdleStabAdv", 99);
}

}  // namespace tunara
