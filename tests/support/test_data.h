#pragma once

#include <QString>

namespace tunara::test {

// A file of tests/data: files as a user hands them to the program.
QString testDataPath(const QString &name);

}  // namespace tunara::test
