#pragma once

#include "image/module_parameters.h"

#include <QString>

#include <variant>
#include <vector>

namespace tunara {

// How a parameter's number reads to a person.
enum class ParameterUnit { None, Degrees, Rpm, Steps, Flags, MapSensor };

// One named module parameter with its decoded value. The names are the ones
// the command-line tool's JSON and every comparison use.
struct ParameterField {
    const char *name;
    std::variant<int, bool> value;
    ParameterUnit unit;
    int address;  // the image byte it is decoded from
};

// Every module parameter in image order.
std::vector<ParameterField> parameterFields(const ModuleParameters &p);

// A parameter's value as a person reads it: "30 deg", "4 (0.3516 deg)",
// "28 (0x1C)", "1 (2 bar)", "true".
QString parameterValueText(const ParameterField &field);
// The MAP sensor setting's name: "1 bar", "2 bar", "3 bar".
QString mapSensorName(int value);

}  // namespace tunara
