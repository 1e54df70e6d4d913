#include "image/parameter_fields.h"

namespace tunara {

std::vector<ParameterField> parameterFields(const ModuleParameters &p)
{
    using U = ParameterUnit;
    return {
        {"TrigTiming", p.TrigTiming, U::Degrees, 48},
        {"CrankPulses", p.CrankPulses, U::None, 49},
        {"OptionFlags", int(p.OptionFlags), U::Flags, 50},
        {"RPMLimitEnable", p.RPMLimitEnable, U::None, 50},
        {"MultiSparkEnable", p.MultiSparkEnable, U::None, 50},
        {"TimingEnable", p.TimingEnable, U::None, 50},
        {"FixedMaxRPMLimit", p.FixedMaxRPMLimit, U::None, 50},
        {"TimingTable2D", p.TimingTable2D, U::None, 50},
        {"TimingTable3D", p.TimingTable3D, U::None, 50},
        {"MaxRPMLimit", p.MaxRPMLimit, U::Rpm, 51},
        {"RetardComp", p.RetardComp, U::Steps, 52},
        {"StartRetard", p.StartRetard, U::Steps, 53},
        {"DataLogFlags", int(p.DataLogFlags), U::Flags, 54},
        {"HighSpeedDataLog", p.HighSpeedDataLog, U::None, 54},
        {"MAPSensor", int(p.MAPSensor), U::MapSensor, 55},
        {"GPIO2Mode", int(p.GPIO2Mode), U::Flags, 72},
        {"GPIO2MinRPM", p.GPIO2MinRPM, U::Rpm, 76},
        {"GPIO2MaxRPM", p.GPIO2MaxRPM, U::Rpm, 77},
        {"IdleStabFlags", int(p.IdleStabFlags), U::Flags, 96},
        {"IdleStabEnable", p.IdleStabEnable, U::None, 96},
        {"IdleStabTrigStartNum", p.IdleStabTrigStartNum, U::None, 97},
        {"MinIdleRPM", p.MinIdleRPM, U::Rpm, 98},
        {"IdleStabAdv", p.IdleStabAdv, U::Steps, 99},
    };
}

}  // namespace tunara
