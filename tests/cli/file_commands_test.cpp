// The command-line tool must agree with the codec on any file, and fail
// cleanly (one line on stderr, non-zero exit, nothing written) on bad input.
#include "cli/cli_main.h"
#include "cli_process.h"
#include "cli/file_commands.h"
#include "cli/json_number.h"
#include "files/data_file.h"
#include "module/parameter_codec.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <random>
#include <sys/stat.h>

using namespace tunara;

namespace {

QByteArray randomFile(std::mt19937 &rng, int size = datafile::Size)
{
    QByteArray bytes(size, '\0');
    for (char &b : bytes)
        b = static_cast<char>(rng() & 0xFF);
    return bytes;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// What the program itself holds after opening the bytes.
ModuleData decoded(const QByteArray &bytes)
{
    ModuleData data;
    datafile::fillImage(bytes, data.image);
    UpdateParams(data);
    return data;
}

class CliFileCommands : public ::testing::Test {
protected:
    QTemporaryDir dir;
    std::mt19937 rng{20261207};
    QString path(const QString &name) const { return dir.filePath(name); }
};

TEST_F(CliFileCommands, JsonAgreesWithTheCodecOnRandomFiles)
{
    for (int round = 0; round < 50; ++round) {
        const QByteArray bytes = randomFile(rng);
        writeFile(path("in.dat"), bytes);
        const CliRun run = runInProcess({"decode", "--json", path("in.dat")});
        ASSERT_EQ(run.code, 0) << run.err.toStdString();
        QJsonParseError parseError;
        const QJsonObject json = QJsonDocument::fromJson(run.out.toUtf8(), &parseError).object();
        ASSERT_EQ(parseError.error, QJsonParseError::NoError) << parseError.errorString().toStdString();

        const ModuleData want = decoded(bytes);
        const ModuleParameters &p = want.params;
        EXPECT_EQ(json["TrigTiming"].toInt(), p.TrigTiming);
        EXPECT_EQ(json["CrankPulses"].toInt(), p.CrankPulses);
        EXPECT_EQ(json["OptionFlags"].toInt(), p.OptionFlags);
        EXPECT_EQ(json["TimingTable2D"].toBool(), p.TimingTable2D);
        EXPECT_EQ(json["TimingTable3D"].toBool(), p.TimingTable3D);
        EXPECT_TRUE(json["RPMLimitEnable"].isBool());
        EXPECT_EQ(json["MaxRPMLimit"].toInt(), p.MaxRPMLimit);
        EXPECT_EQ(json["GPIO2MaxRPM"].toInt(), p.GPIO2MaxRPM);
        EXPECT_EQ(json["IdleStabAdv"].toInt(), p.IdleStabAdv);
        EXPECT_EQ(json.size(), 25);

        const QJsonArray t2 = json["Table2D"].toArray();
        ASSERT_EQ(t2.size(), 21);
        for (int point = 1; point <= 21; ++point) {
            EXPECT_NEAR(t2[point - 1].toArray()[0].toDouble(), want.tables.table2D(point, 1), 1e-9);
            EXPECT_NEAR(t2[point - 1].toArray()[1].toDouble(), want.tables.table2D(point, 2), 1e-9);
        }
        const QJsonArray t3 = json["Table3D"].toArray();
        ASSERT_EQ(t3.size(), 21);
        for (int point = 1; point <= 21; ++point) {
            const QJsonArray row = t3[point - 1].toArray();
            ASSERT_EQ(row.size(), 8);
            for (int m = 1; m <= 8; ++m)
                EXPECT_NEAR(row[m - 1].toDouble(), want.tables.table3D(point, m), 1e-9);
        }
    }
}

TEST_F(CliFileCommands, JsonKeysAreExactlyTheParameterNames)
{
    writeFile(path("in.dat"), randomFile(rng));
    const QJsonObject json = QJsonDocument::fromJson(runInProcess({"decode", "--json", path("in.dat")}).out.toUtf8()).object();
    const QStringList expected = {"TrigTiming", "CrankPulses", "OptionFlags", "RPMLimitEnable", "MultiSparkEnable",
                                  "TimingEnable", "FixedMaxRPMLimit", "TimingTable2D", "TimingTable3D", "MaxRPMLimit",
                                  "RetardComp", "StartRetard", "DataLogFlags", "HighSpeedDataLog", "MAPSensor",
                                  "GPIO2Mode", "GPIO2MinRPM", "GPIO2MaxRPM", "IdleStabFlags", "IdleStabEnable",
                                  "IdleStabTrigStartNum", "MinIdleRPM", "IdleStabAdv", "Table2D", "Table3D"};
    QStringList keys = json.keys();
    QStringList sorted = expected;
    keys.sort();
    sorted.sort();
    EXPECT_EQ(keys, sorted);
}

TEST_F(CliFileCommands, EveryVerbTakesItsOptionsBeforeOrAfterItsFiles)
{
    QByteArray bytes = randomFile(rng);
    bytes[50 - 16] = char(bytes[50 - 16] | 0x40);  // a 2D table, so export-csv has one
    writeFile(path("a.dat"), bytes);
    writeFile(path("b.dat"), randomFile(rng));
    const QString a = path("a.dat"), b = path("b.dat");
    const QList<QPair<QStringList, QStringList>> pairs = {
        {{"decode", "--json", a}, {"decode", a, "--json"}},
        {{"diff", "--json", a, b}, {"diff", a, b, "--json"}},
        {{"check", "--json", a}, {"check", a, "--json"}},
        {{"export-csv", "-o", path("1.csv"), a}, {"export-csv", a, "-o", path("2.csv")}},
        {{"restore-points", "--folder", dir.path()}, {"restore-points", "--folder", dir.path()}},
    };
    for (const auto &[before, after] : pairs) {
        const CliRun first = runInProcess(before), second = runInProcess(after);
        EXPECT_EQ(first.code, second.code) << after.join(' ').toStdString() << second.err.toStdString();
        EXPECT_TRUE(second.err.isEmpty()) << second.err.toStdString();
        EXPECT_EQ(first.out, second.out) << after.join(' ').toStdString();
    }
    EXPECT_EQ(readFile(path("1.csv")), readFile(path("2.csv")));
    EXPECT_FALSE(readFile(path("1.csv")).isEmpty());
    EXPECT_EQ(runInProcess({"decode", a, "--jsn"}).code, 2);
}

TEST_F(CliFileCommands, JsonNumbersAreTheShortestTextOfTheStoredValue)
{
    EXPECT_EQ(cli::jsonNumber(14.265899999999998), "14.2659");
    EXPECT_EQ(cli::jsonNumber(-0.0879), "-0.0879");
    EXPECT_EQ(cli::jsonNumber(-1e-12), "0");
    EXPECT_EQ(cli::jsonNumber(30), "30");
    EXPECT_EQ(cli::jsonNumber(0.1 + 0.2), "0.3");
    EXPECT_EQ(cli::jsonNumber(1.0 / 3.0), "0.3333333333333333");  // off the grid: as it is

    // Every table value of a decoded file: at most four decimals, and it
    // reads back within noise of the value the program holds.
    const QByteArray bytes = randomFile(rng);
    writeFile(path("in.dat"), bytes);
    const QString out = runInProcess({"decode", "--json", path("in.dat")}).out;
    const QRegularExpression longNumber(QStringLiteral("\\d\\.\\d{5,}"));
    EXPECT_FALSE(out.contains(longNumber)) << out.toStdString();
    const QJsonArray t3 = QJsonDocument::fromJson(out.toUtf8()).object()["Table3D"].toArray();
    const ModuleData want = decoded(bytes);
    for (int point = 1; point <= 21; ++point)
        for (int m = 1; m <= 8; ++m)
            EXPECT_NEAR(t3[point - 1].toArray()[m - 1].toDouble(), want.tables.table3D(point, m), 1e-9);
}

TEST_F(CliFileCommands, ResaveWritesWhatTheCodecEncodes)
{
    for (int round = 0; round < 50; ++round) {
        // Longer files too: only the first 264 bytes count.
        const QByteArray bytes = randomFile(rng, round % 5 == 0 ? 300 : datafile::Size);
        writeFile(path("in.dat"), bytes);
        const CliRun run = runInProcess({"resave", path("in.dat"), path("out.dat")});
        ASSERT_EQ(run.code, 0) << run.err.toStdString();

        ModuleData want = decoded(bytes);
        UpdateEEPROM(want);
        const QByteArray expected(reinterpret_cast<const char *>(want.image.EEPROMBuffer.data()) + 16, 264);
        EXPECT_EQ(readFile(path("out.dat")), expected);
    }
}

TEST_F(CliFileCommands, ListingShowsTheActiveTableWithItsAxes)
{
    QByteArray bytes(264, '\0');
    bytes[48 - 16] = 30;
    bytes[50 - 16] = char(0x80);  // 3D table
    bytes[55 - 16] = 2;           // 3 bar sensor
    bytes[112 - 16] = char(200);  // lowest-pressure row, 0 RPM: 30 - 17.58
    writeFile(path("in.dat"), bytes);
    const CliRun run = runInProcess({"decode", path("in.dat")});
    ASSERT_EQ(run.code, 0);
    EXPECT_TRUE(run.out.contains("TrigTiming             30 deg"));
    EXPECT_TRUE(run.out.contains("MAP sensor 3 bar"));
    const QStringList lines = run.out.split('\n');
    const int heading = int(lines.indexOf(QRegularExpression("^MAP/RPM .*")));
    ASSERT_GE(heading, 0);
    EXPECT_TRUE(lines[heading].endsWith("10000"));
    EXPECT_TRUE(lines[heading + 1].startsWith("20 ")) << lines[heading + 1].toStdString();
    EXPECT_TRUE(lines[heading + 1].contains(" 12.4 ")) << lines[heading + 1].toStdString();
    EXPECT_TRUE(lines[heading + 8].startsWith("90 "));
}

TEST_F(CliFileCommands, BadInputFailsWithOneLineAndWritesNothing)
{
    writeFile(path("short.dat"), QByteArray(263, '\x01'));
    writeFile(path("empty.dat"), QByteArray());
    writeFile(path("good.dat"), randomFile(rng));
    writeFile(path("blocker"), "x");

    struct Case {
        QStringList args;
        int code;
        QString errPart;
    } cases[] = {
        {{"decode", path("short.dat")}, 1, "Error - reached premature end-of-file"},
        {{"decode", "--json", path("empty.dat")}, 1, "Error - reached premature end-of-file"},
        {{"decode", path("missing.dat")}, 1, "missing.dat"},
        {{"resave", path("short.dat"), path("out1.dat")}, 1, "premature end-of-file"},
        {{"resave", path("good.dat"), path("blocker/out.dat")}, 1, "blocker/out.dat"},
        {{"decode"}, 2, "decode needs exactly one data file"},
        {{"resave", path("good.dat")}, 2, "resave needs"},
        {{"frobnicate"}, 2, "unknown command"},
        {{}, 2, "no command"},
    };
    for (const Case &c : cases) {
        const CliRun run = runInProcess(c.args);
        EXPECT_EQ(run.code, c.code) << c.args.join(' ').toStdString();
        EXPECT_TRUE(run.err.contains(c.errPart)) << run.err.toStdString();
        EXPECT_EQ(run.err.count('\n'), 1) << run.err.toStdString();
        EXPECT_TRUE(run.out.isEmpty());
    }
    EXPECT_FALSE(QFile::exists(path("out1.dat")));
}

TEST_F(CliFileCommands, TheInstalledToolRunsAndDocumentsEveryCommand)
{
    QProcess tool;
    tool.start(TUNARA_CLI_PATH, {"--help"});
    ASSERT_TRUE(tool.waitForFinished(30000));
    EXPECT_EQ(tool.exitCode(), 0);
    const QString help = QString::fromUtf8(tool.readAllStandardOutput());
    for (const cli::CliCommand &c : cli::allCommands())
        EXPECT_TRUE(help.contains(c.usage)) << c.name.toStdString();

    writeFile(path("short.dat"), QByteArray(10, '\0'));
    tool.start(TUNARA_CLI_PATH, {"decode", path("short.dat")});
    ASSERT_TRUE(tool.waitForFinished(30000));
    EXPECT_EQ(tool.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(tool.exitCode(), 1);
    EXPECT_TRUE(tool.readAllStandardError().contains("premature end-of-file"));
}

// Replacing a file takes a folder that takes new files: when the folder is
// read-only the message names the folder, not the file, which may well be
// writable itself. Run as an ordinary user, whom the folder refuses.
TEST_F(CliFileCommands, AFileInAReadOnlyFolderIsRefusedNamingTheFolder)
{
    const auto mode = [](const QString &p, mode_t m) { return ::chmod(QFile::encodeName(p).constData(), m) == 0; };
    ASSERT_TRUE(mode(dir.path(), 0755));
    writeFile(path("in.dat"), randomFile(rng));
    ASSERT_TRUE(QDir(dir.path()).mkdir("locked"));
    const QByteArray old(datafile::Size, '\x01');
    writeFile(path("locked/out.dat"), old);
    ASSERT_TRUE(mode(path("locked/out.dat"), 0666) && mode(path("locked"), 0555));

    const CliRun r = runCliProcess(dir.path(), {"resave", path("in.dat"), path("locked/out.dat")},
                                   {.ordinaryUser = true});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains("Cannot replace " + path("locked/out.dat") + ": the folder " + path("locked") +
                               " is read-only for this user"))
        << r.err.toStdString();
    EXPECT_EQ(readFile(path("locked/out.dat")), old);
    mode(path("locked"), 0755);
}

}  // namespace
