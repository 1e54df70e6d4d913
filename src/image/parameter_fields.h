#pragma once

#include "image/module_parameters.h"

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

}  // namespace tunara
