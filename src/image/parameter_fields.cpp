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

}  // namespace tunara
