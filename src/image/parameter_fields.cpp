#include "image/parameter_fields.h"

#include "image/image_layout.h"

namespace tunara {

std::vector<ParameterField> parameterFields(const ModuleParameters &p)
{
    using U = ParameterUnit;
    namespace at = layout::address;
    return {
        {"TrigTiming", p.TrigTiming, U::Degrees, at::TrigTiming},
        {"CrankPulses", p.CrankPulses, U::None, at::CrankPulses},
        {"OptionFlags", int(p.OptionFlags), U::Flags, at::OptionFlags},
        {"RPMLimitEnable", p.RPMLimitEnable, U::None, at::OptionFlags},
        {"MultiSparkEnable", p.MultiSparkEnable, U::None, at::OptionFlags},
        {"TimingEnable", p.TimingEnable, U::None, at::OptionFlags},
        {"FixedMaxRPMLimit", p.FixedMaxRPMLimit, U::None, at::OptionFlags},
        {"TimingTable2D", p.TimingTable2D, U::None, at::OptionFlags},
        {"TimingTable3D", p.TimingTable3D, U::None, at::OptionFlags},
        {"MaxRPMLimit", p.MaxRPMLimit, U::Rpm, at::MaxRPMLimit},
        {"RetardComp", p.RetardComp, U::Steps, at::RetardComp},
        {"StartRetard", p.StartRetard, U::Steps, at::StartRetard},
        {"DataLogFlags", int(p.DataLogFlags), U::Flags, at::DataLogFlags},
        {"HighSpeedDataLog", p.HighSpeedDataLog, U::None, at::DataLogFlags},
        {"MAPSensor", int(p.MAPSensor), U::MapSensor, at::MAPSensor},
        {"GPIO2Mode", int(p.GPIO2Mode), U::Flags, at::GPIO2Mode},
        {"GPIO2MinRPM", p.GPIO2MinRPM, U::Rpm, at::GPIO2MinRPM},
        {"GPIO2MaxRPM", p.GPIO2MaxRPM, U::Rpm, at::GPIO2MaxRPM},
        {"IdleStabFlags", int(p.IdleStabFlags), U::Flags, at::IdleStabFlags},
        {"IdleStabEnable", p.IdleStabEnable, U::None, at::IdleStabFlags},
        {"IdleStabTrigStartNum", p.IdleStabTrigStartNum, U::None, at::IdleStabTrigStartNum},
        {"MinIdleRPM", p.MinIdleRPM, U::Rpm, at::MinIdleRPM},
        {"IdleStabAdv", p.IdleStabAdv, U::Steps, at::IdleStabAdv},
    };
}

QString mapSensorName(int value)
{
    switch (value) {
    case 0: return QStringLiteral("1 bar");
    case 1: return QStringLiteral("2 bar");
    case 2: return QStringLiteral("3 bar");
    default: return QStringLiteral("undefined, treated as 1 bar");
    }
}

QString parameterValueText(const ParameterField &f)
{
    using Unit = ParameterUnit;
    if (const bool *b = std::get_if<bool>(&f.value))
        return *b ? QStringLiteral("true") : QStringLiteral("false");
    const int v = std::get<int>(f.value);
    switch (f.unit) {
    case Unit::Degrees: return QStringLiteral("%1 deg").arg(v);
    case Unit::Rpm: return QStringLiteral("%1 RPM").arg(v);
    case Unit::Steps: return QStringLiteral("%1 (%2 deg)").arg(v).arg(QString::number(v * DegreesPerStep, 'f', 4));
    case Unit::Flags: return QStringLiteral("%1 (0x%2)").arg(v).arg(QString::number(v, 16).toUpper().rightJustified(2, u'0'));
    case Unit::MapSensor: return QStringLiteral("%1 (%2)").arg(v).arg(mapSensorName(v));
    case Unit::None: break;
    }
    return QString::number(v);
}

}  // namespace tunara
