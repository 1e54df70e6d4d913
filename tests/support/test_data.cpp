#include "support/test_data.h"

namespace tunara::test {

QString testDataPath(const QString &name)
{
    return QStringLiteral(TUNARA_TEST_DATA_DIR "/") + name;
}

}  // namespace tunara::test
