#include "module/parameter_codec.h"

#include "core/numbers.h"
#include "core/runtime_error.h"
#include "image/image_layout.h"
#include "tables/table_codec.h"

#include <algorithm>

namespace tunara {

namespace {

using Bytes = std::array<std::uint8_t, ModuleImage::Size>;
namespace A = layout::address;

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
    p.TrigTiming = std::min<int>(b[A::TrigTiming], 40);
    decodeTables(data.image, p.TrigTiming, data.tables);

    p.CrankPulses = std::clamp<int>(b[A::CrankPulses], 2, 12);
    decodeOptionFlags(b[A::OptionFlags], p);
    p.MaxRPMLimit = std::clamp(b[A::MaxRPMLimit] * 100, 3000, 10900);
    p.RetardComp = b[A::RetardComp];
    p.StartRetard = b[A::StartRetard];
    p.DataLogFlags = b[A::DataLogFlags];
    p.HighSpeedDataLog = b[A::DataLogFlags] & 0x01;
    p.MAPSensor = b[A::MAPSensor];
    p.GPIO2Mode = b[A::GPIO2Mode];
    p.GPIO2MinRPM = b[A::GPIO2MinRPM] * 50;
    p.GPIO2MaxRPM = b[A::GPIO2MaxRPM] * 50;
    p.IdleStabFlags = b[A::IdleStabFlags];
    p.IdleStabEnable = b[A::IdleStabFlags] & 0x01;
    p.IdleStabTrigStartNum = b[A::IdleStabTrigStartNum];
    p.MinIdleRPM = b[A::MinIdleRPM] * 50;
    p.IdleStabAdv = b[A::IdleStabAdv];
}

void UpdateEEPROM(ModuleData &data)
{
    Bytes &b = data.image.EEPROMBuffer;
    ModuleParameters &p = data.params;

    b[A::TrigTiming] = static_cast<std::uint8_t>(std::clamp(p.TrigTiming, 0, 40));
    b[A::CrankPulses] = static_cast<std::uint8_t>(std::clamp(p.CrankPulses, 2, 12));
    p.OptionFlags = assembleOptionFlags(p);
    b[A::OptionFlags] = p.OptionFlags;
    b[A::MaxRPMLimit] = static_cast<std::uint8_t>(std::clamp(numbers::roundHalfEven(p.MaxRPMLimit / 100.0), 30.0, 109.0));
    b[A::RetardComp] = toByte(p.RetardComp, "RetardComp", A::RetardComp);
    b[A::StartRetard] = toByte(p.StartRetard, "StartRetard", A::StartRetard);
    p.DataLogFlags = p.HighSpeedDataLog ? 1 : 0;
    b[A::DataLogFlags] = p.DataLogFlags;
    b[A::MAPSensor] = p.MAPSensor;
    // The reserved bytes are written as 0 in their place in image order: an
    // overflow stops the encode with everything before it written.
    const auto zeroReserved = [&b](int index) {
        const layout::Region &r = layout::ReservedRegions[std::size_t(index)];
        zero(b, r.first, r.last());
    };
    zeroReserved(0);
    b[A::GPIO2Mode] = p.GPIO2Mode;
    zeroReserved(1);
    b[A::GPIO2MinRPM] = rpmSteps(p.GPIO2MinRPM, 50, "GPIO2MinRPM", A::GPIO2MinRPM);
    b[A::GPIO2MaxRPM] = rpmSteps(p.GPIO2MaxRPM, 50, "GPIO2MaxRPM", A::GPIO2MaxRPM);
    zeroReserved(2);
    zeroReserved(3);
    p.IdleStabFlags = p.IdleStabEnable ? 1 : 0;
    b[A::IdleStabFlags] = p.IdleStabFlags;
    b[A::IdleStabTrigStartNum] = toByte(p.IdleStabTrigStartNum, "IdleStabTrigStartNum", A::IdleStabTrigStartNum);
    b[A::MinIdleRPM] = rpmSteps(p.MinIdleRPM, 50, "MinIdleRPM", A::MinIdleRPM);
    b[A::IdleStabAdv] = toByte(p.IdleStabAdv, "IdleStabAdv", A::IdleStabAdv);
}

bool isAsSaved(const ModuleImage &image)
{
    ModuleData data;
    data.image = image;
    UpdateParams(data);
    try {
        UpdateEEPROM(data);
    } catch (const RuntimeError &) {
        return false;  // an image whose parameters would not encode is not as saved
    }
    const auto first = data.image.EEPROMBuffer.begin() + ModuleImage::FirstTransferAddress;
    return std::equal(first, data.image.EEPROMBuffer.end(), image.EEPROMBuffer.begin() + ModuleImage::FirstTransferAddress);
}

}  // namespace tunara
