// A port that cannot be opened is reported by its cause, in one line on
// stderr: held by another program, refused to this user, or not there.
#include "cli_process.h"
#include "link/qt_serial_port.h"
#include "sim/simulated_module.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

using namespace tunara;

namespace {

TEST(PortErrors, EachCauseIsNamedInOneLine)
{
    if (!QCoreApplication::instance()) {
        static int argc = 1;
        static char name[] = "cli_test";
        static char *argv[] = {name, nullptr};
        new QCoreApplication(argc, argv);
    }
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // Reachable by the ordinary user the permission case may run as.
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                                          QFileDevice::ReadOther | QFileDevice::ExeOther);
    const QString inUse = QStringLiteral("in use by another program");
    const QString denied = QStringLiteral("permission denied");
    const QString missing = QStringLiteral("no such device");

    // In use: this process holds the module's pseudo-terminal, as a terminal
    // program holding the adapter would; its lock names this process.
    sim::SimulatedModule sim;
    sim.start();
    link::QtSerialPort holder;
    holder.setDevicePath(sim.devicePath());
    holder.open();
    CliOutcome r = runCliProcess(dir.path(), {"id", "--port", sim.devicePath()});
    EXPECT_EQ(r.code, 1);
    ASSERT_EQ(r.errLines().size(), 1) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(inUse)) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("process %1").arg(QCoreApplication::applicationPid())));
    EXPECT_FALSE(r.err.contains(denied));
    EXPECT_TRUE(sim.received().empty());
    holder.close();
    sim.stop();

    // Permission denied: a device node this user may not open.
    const QString locked = dir.filePath("ttyLocked");
    QFile(locked).open(QIODevice::WriteOnly);
    QFile::setPermissions(locked, QFileDevice::Permissions());
    r = runCliProcess(dir.path(), {"id", "--port", locked}, {.ordinaryUser = true});
    EXPECT_EQ(r.code, 1);
    ASSERT_EQ(r.errLines().size(), 1) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(locked + ": " + denied)) << r.err.toStdString();
    EXPECT_FALSE(r.err.contains(inUse));

    // No such device: nothing at the path.
    r = runCliProcess(dir.path(), {"id", "--port", dir.filePath("ttyUSB9")});
    EXPECT_EQ(r.code, 1);
    ASSERT_EQ(r.errLines().size(), 1) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(dir.filePath("ttyUSB9") + ": " + missing)) << r.err.toStdString();
    EXPECT_FALSE(r.err.contains(denied));
}

}  // namespace
