#pragma once

#include <QString>

namespace tunara {

// The cause a system call gave, in the program's own English, so that a
// message reads in one language whatever the C library's locale.
QString systemErrorText(int error);

// The same for a write whose cause the call left in errno (cleared before
// it); none left says only that the write failed.
QString writeFailureText(int error);

}  // namespace tunara
