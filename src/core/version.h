#pragma once

#include <QString>

namespace tunara {

// The version the build was made as (the project's version), e.g. "1.0".
QString programVersion();

}  // namespace tunara
