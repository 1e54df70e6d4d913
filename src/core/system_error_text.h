#pragma once

#include <QString>

namespace tunara {

// The cause a system call gave, in the program's own English, so that a
// message reads in one language whatever the C library's locale.
QString systemErrorText(int error);

}  // namespace tunara
