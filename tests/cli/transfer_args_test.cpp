// The link commands' arguments: a --port that is no port and an output
// file that cannot be written are refused before a byte goes to the module;
// a trace that cannot be written to the end fails the command.
#include "cli_process.h"
#include "sim/simulated_module.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace tunara;

namespace {

class TransferArgs : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!QCoreApplication::instance()) {
            static int argc = 1;
            static char name[] = "cli_test";
            static char *argv[] = {name, nullptr};
            new QCoreApplication(argc, argv);
        }
        ASSERT_TRUE(dir.isValid());
        sim.start();
    }
    void TearDown() override { sim.stop(); }
    CliOutcome cli(const QStringList &args, const CliLimits &limits = {})
    {
        return runCliProcess(dir.path(), args, limits);
    }
    QString path(const QString &name) const { return dir.filePath(name); }

    QTemporaryDir dir;
    sim::SimulatedModule sim;
};

TEST_F(TransferArgs, PortThatIsNoPortAndUnwritableOutputStopBeforeAnyByte)
{
    for (const QStringList &port : {QStringList{"--port", ""}, QStringList{"--port="}, QStringList{"--port", "0"},
                                    QStringList{"--port", "256"}, QStringList{"--port", "99999999999"}}) {
        const CliOutcome r = cli(QStringList{"id"} + port);
        EXPECT_EQ(r.code, 2) << port.join(' ').toStdString() << r.err.toStdString();
        EXPECT_EQ(r.errLines().size(), 1) << r.err.toStdString();
    }

    QDir(dir.path()).mkdir("folder");
    QFile(path("kept.dat")).open(QIODevice::WriteOnly);
    QFile::link(path("kept.dat"), path("link.dat"));
    QFile(path("plain")).open(QIODevice::WriteOnly);
    for (const QString &output : {path("folder"), path("link.dat"), path("missing/x.dat"), path("plain/x.dat")}) {
        const CliOutcome r = cli({"download", "--port", sim.devicePath(), "-o", output});
        EXPECT_EQ(r.code, 1) << output.toStdString();
        EXPECT_TRUE(r.err.startsWith("tunara-cli: cannot save to " + output + ": ")) << r.err.toStdString();
    }
    EXPECT_EQ(QFileInfo(path("kept.dat")).size(), 0);
    EXPECT_TRUE(sim.received().empty());

    // A folder this user may not write into: found by trying, before the
    // port is touched (the only complaint is about the output).
    QDir(dir.path()).mkdir("readonly");
    QFile::setPermissions(dir.path(), QFileInfo(dir.path()).permissions() | QFileDevice::ExeOther);
    QFile::setPermissions(path("readonly"), QFileDevice::ReadOwner | QFileDevice::ExeOwner | QFileDevice::ReadOther |
                                                QFileDevice::ExeOther);
    const CliOutcome ro = cli({"download", "--port", sim.devicePath(), "-o", path("readonly/x.dat")}, {.ordinaryUser = true});
    EXPECT_EQ(ro.code, 1);
    EXPECT_EQ(ro.err, "tunara-cli: cannot save to " + path("readonly/x.dat") + ": Permission denied\n")
        << ro.err.toStdString();
    EXPECT_TRUE(QDir(path("readonly")).isEmpty());
    EXPECT_TRUE(sim.received().empty());
}

TEST_F(TransferArgs, TraceThatCannotBeWrittenToTheEndFailsTheCommand)
{
    // A disk that fills up, as a file size limit: the header fits, then the
    // first block of a download does not. The transfer stops, no file is saved.
    const QString trace = path("download trace.txt");
    const QString failure = "Cannot write the trace file " + trace + ": File too large.";
    CliOutcome r = cli({"download", "--port", sim.devicePath(), "--trace", trace, "-o", path("got.dat")},
                       {.fileSizeLimit = 4096});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err.count(failure), 1) << r.err.toStdString();
    EXPECT_FALSE(r.out.contains("Saved"));
    EXPECT_FALSE(QFile::exists(path("got.dat")));
    EXPECT_EQ(QFileInfo(trace).size(), 4096);
    const std::size_t sent = sim.received().size();
    EXPECT_GT(sent, 0u);
    EXPECT_LT(sent, 264u) << "the read stopped when the trace did";

    // Room for the header only: refused before anything is sent.
    sim.clearReceived();
    r = cli({"id", "--port", sim.devicePath(), "--trace", path("small.txt")}, {.fileSizeLimit = 100});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "tunara-cli: Cannot write the trace file " + path("small.txt") + ": File too large.\n")
        << r.err.toStdString();
    EXPECT_TRUE(sim.received().empty());

    // The identification itself succeeds, but its trace lines never reach
    // the disk (they are written when the port closes): still a failure.
    r = cli({"id", "--port", sim.devicePath(), "--trace", path("id.txt")}, {.fileSizeLimit = 1000});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.out.contains("Module type: Torvik-1 Zoruro\n"));
    EXPECT_EQ(r.err, "tunara-cli: Cannot write the trace file " + path("id.txt") + ": File too large.\n")
        << r.err.toStdString();
}

}  // namespace
