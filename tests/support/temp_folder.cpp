#include "support/temp_folder.h"

#include <QDir>
#include <QFile>

#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace tunara::test {

RunTempFolder::RunTempFolder()
{
    if (qEnvironmentVariableIsSet("TMPDIR") || ::access("/dev/shm", W_OK | X_OK) != 0)
        return;
    QByteArray pattern("/dev/shm/tunara-tests-XXXXXX");
    if (!::mkdtemp(pattern.data()))
        return;
    // Readable like a folder of the build tree: some tests run a child as
    // another user, who must reach the files it is given.
    ::chmod(pattern.constData(), 0755);
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
