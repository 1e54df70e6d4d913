#include "support/temp_folder.h"

#include <QDir>
#include <QFile>

#include <cstdlib>
#include <unistd.h>

namespace tunara::test {

RunTempFolder::RunTempFolder()
{
    if (qEnvironmentVariableIsSet("TMPDIR") || ::access("/dev/shm", W_OK | X_OK) != 0)
        return;
    QByteArray pattern("/dev/shm/tunara-tests-XXXXXX");
    if (!::mkdtemp(pattern.data()))
        return;
    m_made = QFile::decodeName(pattern);
    qputenv("TMPDIR", pattern);
}

RunTempFolder::~RunTempFolder()
{
    if (m_made.isEmpty())
        return;
    QDir(m_made).removeRecursively();
    qunsetenv("TMPDIR");
}

}  // namespace tunara::test
