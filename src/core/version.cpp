#include "core/version.h"

#ifndef TUNARA_VERSION
#error "TUNARA_VERSION is set by the build"
#endif

namespace tunara {

QString programVersion()
{
    return QStringLiteral(TUNARA_VERSION);
}

}  // namespace tunara
