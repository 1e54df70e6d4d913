// tunara-cli id / download / upload against the simulated module: the exit
// status is 0 only for a good transfer, and a failed or refused download
// writes no file. The real program runs a download and the commands that end
// before a transfer; the uploads and the failures run in this process on a
// virtual clock, where a transfer's pacing and a time-out cost no real time.
#include "cli/file_commands.h"
#include "cli_run.h"
#include "files/data_file.h"
#include "files/restore_points.h"
#include "files/stored_settings.h"
#include "module/parameter_codec.h"
#include "sim/simulated_module.h"
#include "support/process_state.h"
#include "support/virtual_clock.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

using namespace tunara;

namespace {

class TransferCli : public ::testing::Test {
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
    void TearDown() override
    {
        sim.stop();
        EXPECT_EQ(clock.cappedWaits(), 0) << "the simulated module never fell quiet: a wait ran into the real-time cap";
    }

    // Runs the real program with its settings in this test's folder.
    CliRun cli(const QStringList &args)
    {
        QProcess tool;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_CONFIG_HOME", dir.filePath("config"));
        env.insert("XDG_DATA_HOME", dir.filePath(".local/share"));
        env.insert("HOME", dir.path());
        tool.setProcessEnvironment(env);
        tool.start(TUNARA_CLI_PATH, args);
        EXPECT_TRUE(tool.waitForFinished(60000));
        return {tool.exitCode(), QString::fromLocal8Bit(tool.readAllStandardOutput()),
                QString::fromLocal8Bit(tool.readAllStandardError())};
    }
    // Runs the same commands in this process, the link and the module on the
    // test's virtual clock, with the settings and restore points in this
    // test's folder as cli() has them (the environment is put back after
    // the test).
    CliRun run(const QStringList &args)
    {
        if (!m_onVirtualTime) {
            clock.drive(sim);
            m_onVirtualTime = true;
        }
        qputenv("HOME", QFile::encodeName(dir.path()));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.filePath("config")));
        qputenv("XDG_DATA_HOME", QFile::encodeName(dir.filePath(".local/share")));
        return runInProcess(args, &clock);
    }
    QString path(const QString &name) const { return dir.filePath(name); }
    static QByteArray readFile(const QString &p)
    {
        QFile f(p);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    static void writeFile(const QString &p, const QByteArray &bytes)
    {
        QFile f(p);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    void withFaults(const std::function<void(sim::Faults &)> &change)
    {
        sim::Faults f = sim.faults();
        change(f);
        sim.setFaults(f);
    }

    test::ProcessStateKeeper m_processState;
    test::VirtualClock clock;  // outlives the module, which may follow it
    bool m_onVirtualTime = false;
    QTemporaryDir dir;
    sim::SimulatedModule sim;
};

TEST_F(TransferCli, DownloadSavesExactlyTheModulesBytes)
{
    auto memory = sim.memory();
    for (int a = 16; a < 280; ++a)
        memory[a] = std::uint8_t(a * 31 + 5);
    sim.setMemory(memory);
    const CliRun r = cli({"download", "--port", sim.devicePath(), "-o", path("got.dat")});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("Firmware ID: Torvik-1 Zoruro V2.1\n"));
    EXPECT_TRUE(r.out.contains("Downloaded data to buffer. Ready for editing.\n"));
    const QByteArray file = readFile(path("got.dat"));
    ASSERT_EQ(file.size(), 264);
    for (int a = 16; a < 280; ++a)
        ASSERT_EQ(std::uint8_t(file[a - 16]), memory[a]) << a;
}

// A file whose bytes the program reads other than stored goes to the module
// only on request; then the module holds exactly the encoded image.
TEST_F(TransferCli, UploadWritesTheEncodedFileAndVerifiesIt)
{
    QByteArray bytes(264, '\0');
    for (int k = 0; k < 264; ++k)
        bytes[k] = char((k * 89 + 17) & 0xFF);
    writeFile(path("in.dat"), bytes);
    ModuleData expected = cli::openDataFile(path("in.dat"));
    UpdateEEPROM(expected);
    const auto before = sim.memory();

    const CliRun refused = run({"upload", "--port", sim.devicePath(), path("in.dat")});
    EXPECT_EQ(refused.code, 1);
    EXPECT_TRUE(refused.err.contains("(give --accept-changes to upload anyway):\n")) << refused.err.toStdString();
    EXPECT_TRUE(refused.err.contains("reserved byte ")) << refused.err.toStdString();
    EXPECT_TRUE(sim.received().empty());
    EXPECT_EQ(sim.memory(), before);

    const CliRun r = run({"upload", "--accept-changes", "--port", sim.devicePath(), path("in.dat")});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("Upload completed. Remember to cycle power off for 5 seconds\n"
                               "and then on again before starting engine.\n"))
        << r.out.toStdString();
    const auto memory = sim.memory();
    for (int a = 16; a < 280; ++a)
        ASSERT_EQ(memory[a], expected.image.EEPROMBuffer[a]) << a;
    int differing = 0;
    for (int a = 16; a < 280; ++a)
        differing += before[a] != memory[a];
    EXPECT_TRUE(r.out.contains(QString("\n%1 bytes written, all 264 read back and equal\n").arg(differing)))
        << r.out.toStdString();

    // What the module held is listed with the window's restore points, before
    // the image written, with the device it came through.
    const QStringList points = run({"restore-points"}).out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(points.size(), 2) << points.join('\n').toStdString();
    EXPECT_TRUE(points[0].contains("Before upload ")) << points[0].toStdString();
    EXPECT_TRUE(points[1].contains("Module before upload ") && points[1].contains("  " + sim.devicePath() + ' ') &&
                points[1].contains("  Torvik-1 Zoruro V2.1 "))
        << points[1].toStdString();
    const QByteArray kept = readFile(points[1].section("  ", -1).trimmed());
    ASSERT_EQ(kept.size(), 264);
    for (int a = 16; a < 280; ++a)
        ASSERT_EQ(std::uint8_t(kept[a - 16]), before[a]) << a;

    const CliRun all = run({"upload", "--write-all", "--accept-changes", "--port", sim.devicePath(), path("in.dat")});
    EXPECT_EQ(all.code, 0) << all.err.toStdString();
    EXPECT_TRUE(all.out.contains("\n264 bytes written, all 264 read back and equal\n")) << all.out.toStdString();
}

// A point names the port as the user named it: a device given by its path
// is that device alone, a number is that number and the device behind it.
TEST_F(TransferCli, ModulePointNamesThePortTheUserChose)
{
    QByteArray bytes = transferBytes(ModuleImage{});
    writeFile(path("in.dat"), bytes);
    {
        StoredSettings settings = StoredSettings::atFile(path("config/Tunara/Tunara_Kelm_Main.ini"));
        settings.saveSetting("Ports", "Com7", sim.devicePath());
    }
    const auto moduleSource = [this] {
        const QList<restore::Entry> points =
            restore::RestorePoints(path(".local/share/Tunara_Kelm_Main/restore-points")).list();
        const auto module = std::find_if(points.begin(), points.end(), [](const restore::Entry &e) {
            return e.event == restore::Event::ModuleBeforeUpload;
        });
        return module == points.end() ? restore::Source() : module->source;
    };
    // The real program, which reads the number's device from the settings.
    const CliRun number = cli({"upload", "--accept-changes", "--port", "7", path("in.dat")});
    ASSERT_EQ(number.code, 0) << number.err.toStdString();
    EXPECT_EQ(moduleSource().text(), QStringLiteral("Com7 (%1)").arg(sim.devicePath()));

    bytes[100] = char(bytes[100] + 1);  // something to write
    writeFile(path("in.dat"), bytes);
    ASSERT_EQ(run({"upload", "--accept-changes", "--port", sim.devicePath(), path("in.dat")}).code, 0);
    EXPECT_EQ(moduleSource(), restore::Source::module(0, sim.devicePath()));
    EXPECT_EQ(moduleSource().text(), sim.devicePath());
}

// --expect writes only over the module the file was downloaded from; a
// module that changed meanwhile, or an --expect that is no data file, is
// left exactly as it was.
TEST_F(TransferCli, UploadWithExpectWritesOnlyOverTheDownloadedModule)
{
    auto memory = sim.memory();
    for (int a = 16; a < 280; ++a)
        memory[a] = std::uint8_t((a * 53 + 3) % 251);
    memory[49] = 4;     // cranking pulses
    memory[50] = 0x5C;  // the 2D curve runs
    sim.setMemory(memory);
    writeFile(path("was.dat"), transferBytes(memory));
    writeFile(path("in.dat"), QByteArray(264, '\x21'));

    // Bad --expect files: exit 2 before the port is opened.
    writeFile(path("short.dat"), transferBytes(memory).left(263));
    writeFile(path("table.csv"), "RPM,Advance\n500,10\n");
    for (const QString &bad : {path("short.dat"), path("table.csv"), path("missing.dat")}) {
        const CliRun r = run({"upload", "--accept-changes", "--expect", bad, "--port", sim.devicePath(), path("in.dat")});
        EXPECT_EQ(r.code, 2) << bad.toStdString() << r.err.toStdString();
        EXPECT_TRUE(r.err.contains("--expect needs a 264-byte data file: ")) << r.err.toStdString();
        EXPECT_TRUE(sim.received().empty());
    }

    // Another module on the cable: read, kept, and not written.
    auto other = memory;
    other[49] = 6;
    other[20] ^= 0x01;
    sim.setMemory(other);
    const CliRun refused =
        run({"upload", "--accept-changes", "--expect", path("was.dat"), "--port", sim.devicePath(), path("in.dat")});
    EXPECT_EQ(refused.code, 1);
    EXPECT_TRUE(refused.err.contains("the module does not hold the expected image: 1 parameter and 1 cell differ, up to 0.1°\n")) << refused.err.toStdString();
    EXPECT_TRUE(refused.err.contains("\ntunara-cli: nothing was written\n"));
    EXPECT_FALSE(refused.out.contains("Upload completed"));
    EXPECT_EQ(sim.memory(), other);

    // The module as downloaded: written as without --expect.
    sim.setMemory(memory);
    const CliRun r =
        run({"upload", "--accept-changes", "--expect", path("was.dat"), "--port", sim.devicePath(), path("in.dat")});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("Upload completed")) << r.out.toStdString();
    EXPECT_NE(sim.memory(), memory);
}

TEST_F(TransferCli, UploadThatFailsVerificationIsNeverReportedAsDone)
{
    writeFile(path("in.dat"), QByteArray(264, '\x21'));
    withFaults([](sim::Faults &f) { f.readBackDiffersAt = 200; });
    const CliRun r = run({"upload", "--accept-changes", "--port", sim.devicePath(), path("in.dat")});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains("Upload aborted - EEPROM verification failed.\n"));
    EXPECT_FALSE(r.out.contains("Upload completed"));
}

TEST_F(TransferCli, RefusedOrFailedDownloadWritesNoFile)
{
    sim.setFirmwareID("Torvik-1 Classic");
    CliRun r = run({"download", "--port", sim.devicePath(), "-o", path("refused.dat")});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.out.contains("Firmware ID: Torvik-1 Classic\n"));
    EXPECT_TRUE(r.err.contains("Not Torvik-1 Zoruro unit. Cannot download and edit data.\n"));
    EXPECT_FALSE(QFile::exists(path("refused.dat")));

    // A module that falls silent mid-read: an existing file stays as it was.
    sim.setFirmwareID(sim::SimulatedModule::defaultFirmwareID());
    writeFile(path("old.dat"), QByteArray(264, '\x55'));
    withFaults([](sim::Faults &f) { f.silenceAfterBytes = 1 + 1 + 3 + 2 * 50; });
    r = run({"download", "--port", sim.devicePath(), "-o", path("old.dat")});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains("Comm Error: RS-232 timeout. Check cable and click Abort.")) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("Download failed.\n"));
    EXPECT_EQ(readFile(path("old.dat")), QByteArray(264, '\x55'));
}

TEST_F(TransferCli, IdUsesTheStoredPortNumberAndItsOverride)
{
    {
        StoredSettings settings = StoredSettings::atFile(path("config/Tunara/Tunara_Kelm_Main.ini"));
        settings.saveCommPort(200);
        settings.saveSetting("Ports", "Com200", sim.devicePath());
    }
    CliRun r = cli({"id"});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "Firmware ID: Torvik-1 Zoruro V2.1\nModule type: Torvik-1 Zoruro\n");

    sim.setFirmwareID("torvik-1 nano");
    r = cli({"id", "--port", "200"});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.out.contains("Module type: Torvik-1\n"));
}

TEST_F(TransferCli, WrongArgumentsAndBadFilesTouchNoModule)
{
    EXPECT_EQ(cli({"download", "--port", sim.devicePath()}).code, 2);
    EXPECT_EQ(cli({"download", "--port", "256", "-o", path("x.dat")}).code, 2);
    EXPECT_EQ(cli({"id", "--port", "0"}).code, 2);
    EXPECT_EQ(cli({"upload", "--port", sim.devicePath()}).code, 2);
    EXPECT_EQ(cli({"download", "--port", sim.devicePath(), "-o", path("no/such/folder.dat")}).code, 1);
    writeFile(path("short.dat"), QByteArray(100, '\x01'));
    const CliRun r = cli({"upload", "--port", sim.devicePath(), path("short.dat")});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains("premature end-of-file"));
    EXPECT_TRUE(sim.received().empty());
    EXPECT_FALSE(QFile::exists(path("x.dat")));
}

TEST_F(TransferCli, TraceGoesToItsFileOrStopsTheTransferBeforeItStarts)
{
    const CliRun bad = cli({"download", "--port", sim.devicePath(), "--trace", path("no/such/trace.txt"), "-o",
                            path("x.dat")});
    EXPECT_EQ(bad.code, 1);
    EXPECT_TRUE(bad.err.contains("Cannot create the trace file " + path("no/such/trace.txt") + ": "))
        << bad.err.toStdString();
    EXPECT_TRUE(sim.received().empty());
    EXPECT_FALSE(QFile::exists(path("x.dat")));

    const CliRun traced = cli({"id", "--port", sim.devicePath(), "--trace", path("id trace.txt")});
    EXPECT_EQ(traced.code, 0) << traced.err.toStdString();
    const QString trace = QString::fromUtf8(readFile(path("id trace.txt")));
    EXPECT_TRUE(trace.contains(QRegularExpression("\\d+  send     10 +ReadFirmwareID\n"))) << trace.toStdString();
    EXPECT_TRUE(trace.contains("# summary: " + QString::number(sim.received().size()) + " bytes sent"));
}

TEST_F(TransferCli, PortFailuresExitOneWithTheirReasonOnStderr)
{
    // A number that stands for no device, a stored port that is no number.
    CliRun r = cli({"id", "--port", "251"});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains("Com251")) << r.err.toStdString();
    {
        StoredSettings settings = StoredSettings::atFile(path("config/Tunara/Tunara_Kelm_Main.ini"));
        settings.saveSetting("Properties", "CommPort", "abc");
    }
    r = cli({"id"});
    EXPECT_EQ(r.code, 1);
    EXPECT_FALSE(r.err.isEmpty());
    // A device that cannot be opened: its path and reason once, no cable advice.
    r = cli({"id", "--port", path("no-such-tty")});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err.count(path("no-such-tty")), 1) << r.err.toStdString();
    EXPECT_FALSE(r.err.contains("Check cable"));
    EXPECT_TRUE(r.out.isEmpty());
}

TEST_F(TransferCli, UploadKeepsARestorePointOrWritesNothingUnlessToldToGoOn)
{
    writeFile(path("in.dat"), QByteArray(264, '\x21'));
    const QString points = path(".local/share/Tunara_Kelm_Main/restore-points");
    EXPECT_EQ(run({"upload", "--accept-changes", "--port", sim.devicePath(), path("in.dat")}).code, 0);
    const QList<restore::Entry> kept = restore::RestorePoints(points).list();
    ASSERT_EQ(kept.size(), 2);  // the image written, and what the module held
    EXPECT_EQ(kept[0].event, restore::Event::BeforeUpload);
    EXPECT_EQ(kept[1].event, restore::Event::ModuleBeforeUpload);

    // The folder cannot hold points: nothing goes to the module.
    ASSERT_TRUE(QDir(points).removeRecursively());
    writeFile(points, "not a folder");
    auto memory = sim.memory();
    memory[100] = 0x77;
    sim.setMemory(memory);
    writeFile(path("in.dat"), QByteArray(264, '\x22'));
    const CliRun refused = run({"upload", "--accept-changes", "--port", sim.devicePath(), path("in.dat")});
    EXPECT_EQ(refused.code, 1);
    EXPECT_TRUE(refused.err.contains("could not be kept as a restore point")) << refused.err.toStdString();
    EXPECT_EQ(sim.memory()[100], 0x77);
    const CliRun told =
        run({"upload", "--port", sim.devicePath(), "--accept-changes", "--no-restore-point", path("in.dat")});
    EXPECT_EQ(told.code, 0) << told.err.toStdString();
    EXPECT_EQ(sim.memory()[100], 0x22);
}

TEST_F(TransferCli, RestorePointsAreListedNewestFirst)
{
    restore::RestorePoints store(path("points"));
    store.keep(QByteArray(264, '\0'), restore::Event::Downloaded, "Torvik-1 Zoruro V2.1",
               QDateTime(QDate(2026, 3, 1), QTime(8, 0)));
    store.keep(QByteArray(264, '\0'), restore::Event::BeforeUpload, "", QDateTime(QDate(2026, 3, 2), QTime(9, 30)));
    const CliRun r = cli({"restore-points", "--folder", path("points")});
    EXPECT_EQ(r.code, 0);
    const QStringList lines = r.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2) << r.out.toStdString();
    EXPECT_TRUE(lines[0].startsWith("2026-03-02 09:30:00  Before upload")) << lines[0].toStdString();
    EXPECT_TRUE(lines[1].contains("Torvik-1 Zoruro V2.1"));
    EXPECT_TRUE(lines[1].endsWith(".dat"));
    EXPECT_EQ(cli({"restore-points", "--folder", path("none")}).code, 0);
}

}  // namespace
