// The link commands refuse a --port that is no port and an output that
// cannot be written before a byte goes to the module, name the cause of a
// port that will not open in one line, and fail when their trace cannot be
// written to the end.
#include "cli_process.h"
#include "link/qt_serial_port.h"
#include "sim/simulated_module.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

using namespace tunara;

namespace {

class TransferArgs : public ::testing::Test {
protected:
    void SetUp() override
    {
        static int argc = 1;
        static char name[] = "cli_test", *argv[] = {name, nullptr};
        if (!QCoreApplication::instance())
            new QCoreApplication(argc, argv);
        // Reachable by the ordinary user some cases run as.
        QFile::setPermissions(dir.path(), QFileInfo(dir.path()).permissions() | QFile::ReadOther | QFile::ExeOther);
        sim.start();
    }
    CliRun cli(const QStringList &args, const CliLimits &limits = {}) { return runCliProcess(dir.path(), args, limits); }
    QString path(const QString &name) const { return dir.filePath(name); }

    QTemporaryDir dir;
    sim::SimulatedModule sim;
};

TEST_F(TransferArgs, PortThatWillNotOpenIsNamedByItsCauseInOneLine)
{
    link::QtSerialPort holder;  // this process holds the module's port, as a terminal program would
    holder.setDevicePath(sim.devicePath());
    holder.open();
    const QFile::Permissions none;
    QFile(path("ttyLocked")).open(QIODevice::WriteOnly);
    QFile::setPermissions(path("ttyLocked"), none);
    const QString pid = QString::number(QCoreApplication::applicationPid());
    for (const auto &[port, cause] :
         {std::pair{sim.devicePath(), "the device is in use by another program (cli_test, process " + pid + ")."},
          {path("ttyLocked"), QString("permission denied.")}, {path("ttyUSB9"), QString("no such device.")}}) {
        const CliRun r = cli({"id", "--port", port}, {.ordinaryUser = port == path("ttyLocked")});
        EXPECT_EQ(r.code, 1);
        EXPECT_TRUE(r.err.startsWith("Comm Error: Cannot open " + port + ": " + cause)) << r.err.toStdString();
        EXPECT_EQ(r.err.count('\n'), 1) << r.err.toStdString();
    }
    EXPECT_TRUE(sim.received().empty());
}

TEST_F(TransferArgs, PortThatIsNoPortAndOutputThatCannotBeWrittenStopBeforeAnyByte)
{
    for (const char *port : {"", "0", "256", "99999999999"})
        EXPECT_EQ(cli({"id", "--port", port}).code, 2) << port;
    EXPECT_EQ(cli({"id", "--port="}).code, 2);

    QDir(dir.path()).mkpath("folder");
    QFile(path("kept.dat")).open(QIODevice::WriteOnly);
    QFile::link(path("kept.dat"), path("link.dat"));
    QDir(dir.path()).mkdir("readonly");
    QFile::setPermissions(path("readonly"), QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther);
    for (const QString &output : {path("folder"), path("link.dat"), path("missing/x.dat"), path("kept.dat/x.dat"),
                                  path("readonly/x.dat")}) {
        // As an ordinary user, so the read-only folder refuses the file.
        const CliRun r = cli({"download", "--port", sim.devicePath(), "-o", output}, {.ordinaryUser = true});
        EXPECT_EQ(r.code, 1);
        EXPECT_TRUE(r.err.startsWith("tunara-cli: cannot save to " + output + ": ")) << r.err.toStdString();
        EXPECT_EQ(r.err.count('\n'), 1) << r.err.toStdString();
    }
    EXPECT_EQ(QFileInfo(path("kept.dat")).size(), 0);
    EXPECT_TRUE(QDir(path("readonly")).isEmpty());
    EXPECT_TRUE(sim.received().empty());
}

TEST_F(TransferArgs, TraceThatCannotBeWrittenToTheEndFailsTheCommand)
{
    // A disk that fills up: the header fits, the first block of the read does
    // not, and the transfer stops there; no file is saved.
    const QString full = "Cannot write the trace file " + path("t.txt") + ": the file is too large.";
    CliRun r = cli({"download", "--port", sim.devicePath(), "--trace", path("t.txt"), "-o", path("got.dat")},
                       {.fileSizeLimit = 4096});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err.count(full), 1) << r.err.toStdString();
    EXPECT_FALSE(QFile::exists(path("got.dat")));
    EXPECT_GT(sim.received().size(), 0u);
    EXPECT_LT(sim.received().size(), 264u) << "the read stopped with the trace";
    // Room for the header only: nothing is sent. Room for the header and not
    // for the identification's lines, written when the port closes: the
    // identification succeeds, the command does not.
    for (const long long size : {100, 1000}) {
        sim.clearReceived();
        r = cli({"id", "--port", sim.devicePath(), "--trace", path("t.txt")}, {.fileSizeLimit = size});
        EXPECT_EQ(r.code, 1);
        EXPECT_EQ(r.err, "tunara-cli: " + full + '\n') << r.err.toStdString();
        EXPECT_EQ(r.out.contains("Module type"), !sim.received().empty()) << size;
    }
}

}  // namespace
