// diff, check, export-csv and import-csv from the command line: exit codes,
// JSON, the CSV round trip through files, and bad input refused with one
// line, no output file and the inputs untouched.
#include "cli_run.h"

#include "../compare/compare_fixtures.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

using namespace tunara;

namespace {

class CompareCli : public ::testing::Test {
protected:
    QTemporaryDir dir;
    std::mt19937 rng{1313};
    QString path(const QString &name) const { return dir.filePath(name); }
    QString put(const QString &name, const QByteArray &bytes) const
    {
        QFile f(path(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
        return path(name);
    }
    QString programFile(const QString &name, bool is3D)
    {
        const ModuleImage image = comparetest::programImage(rng, is3D);
        return put(name, QByteArray(reinterpret_cast<const char *>(image.EEPROMBuffer.data()) + 16, 264));
    }
    // A copy of a data file with the byte at an image address set.
    QString withByte(const QString &from, const QString &name, int address, char value) const
    {
        QByteArray bytes = readFile(from);
        bytes[address - 16] = value;
        return put(name, bytes);
    }
};

QJsonObject json(const CliRun &run)
{
    return QJsonDocument::fromJson(run.out.toUtf8()).object();
}

TEST_F(CompareCli, DiffExitsZeroOnlyForIdenticalFilesAndListsWhatDiffers)
{
    const QString a = programFile("a.dat", true);
    const QString param = withByte(a, "param.dat", 52, char(readFile(a)[52 - 16] ^ 0x04));  // RetardComp
    const QString reserved = withByte(a, "reserved.dat", 80, 9);  // a reserved byte: read alike

    // A longer file reads as its first 264 bytes.
    CliRun run = runInProcess({"diff", a, put("long.dat", readFile(a) + "trailing")});
    EXPECT_EQ(run.code, 0);
    EXPECT_TRUE(run.out.endsWith("Summary: the files are identical\n")) << run.out.toStdString();

    run = runInProcess({"diff", "--json", a, param});
    EXPECT_EQ(run.code, 1);
    const QJsonArray params = json(run)["parameters"].toArray();
    ASSERT_EQ(params.size(), 1);
    EXPECT_EQ(params[0].toObject()["name"].toString(), "RetardComp");
    EXPECT_TRUE(json(run)["table3D"].toArray().isEmpty());

    run = runInProcess({"diff", a, reserved});
    EXPECT_EQ(run.code, 1);
    EXPECT_TRUE(run.out.contains("byte 80 (reserved, saved as 0): 0x00 -> 0x09")) << run.out.toStdString();
    EXPECT_TRUE(run.out.contains("equal as the program reads them; 1 byte differs only where the program normalises"));
}

TEST_F(CompareCli, CheckExitsOneWhenAResaveWouldChangeTheFile)
{
    const QString clean = programFile("clean.dat", false);
    CliRun run = runInProcess({"check", clean});
    EXPECT_EQ(run.code, 0) << run.out.toStdString();
    EXPECT_EQ(run.out.count('\n'), 1);

    run = runInProcess({"check", "--json", withByte(clean, "trig.dat", 48, 45)});
    EXPECT_EQ(run.code, 1);
    const QJsonObject item = json(run)["items"].toArray()[0].toObject();
    EXPECT_EQ(item["kind"].toString(), "limitedParameter");
    EXPECT_EQ(item["stored"].toDouble(), 45);
    EXPECT_EQ(item["after"].toDouble(), 40);
    EXPECT_TRUE(json(run)["resaveChangesFile"].toBool());
}

TEST_F(CompareCli, CsvExportThenImportGivesBackTheSameFileOrWarnsThatItWouldNot)
{
    for (bool is3D : {false, true}) {
        const QString dat = programFile("t.dat", is3D);
        CliRun run = runInProcess({"export-csv", dat, "-o", path("t.csv")});
        ASSERT_EQ(run.code, 0) << run.err.toStdString();
        EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
        EXPECT_EQ(readFile(path("t.csv")).count("\r\n"), is3D ? 9 : 2);
        run = runInProcess({"import-csv", dat, path("t.csv"), "-o", path("back.dat")});
        ASSERT_EQ(run.code, 0) << run.err.toStdString();
        EXPECT_EQ(readFile(path("back.dat")), readFile(dat));
        // The decimal-comma form: the same text with its two marks swapped, read to the same bytes.
        run = runInProcess({"export-csv", "--semicolon", dat, "-o", path("t2.csv")});
        ASSERT_EQ(run.code, 0) << run.err.toStdString();
        EXPECT_EQ(readFile(path("t2.csv")), readFile(path("t.csv")).replace(',', ';').replace('.', ','));
        run = runInProcess({"import-csv", dat, path("t2.csv"), "-o", path("back2.dat")});
        ASSERT_EQ(run.code, 0) << run.err.toStdString();
        EXPECT_EQ(readFile(path("back2.dat")), readFile(dat));
    }
    // A 3D cell below the advance window.
    const CliRun run = runInProcess({"export-csv", withByte(path("t.dat"), "out.dat", 150, char(255)), "-o", path("t.csv")});
    EXPECT_EQ(run.code, 0);
    EXPECT_TRUE(run.err.contains("an import of this CSV would be refused (row ")) << run.err.toStdString();
}

TEST_F(CompareCli, BadInputFailsWithOneLineNoOutputAndUntouchedInputs)
{
    const QString good = programFile("good.dat", true);
    const QString twoD = programFile("2d.dat", false);
    runInProcess({"export-csv", good, "-o", path("good.csv")});
    withByte(good, "disabled.dat", 50, 0x1C);
    QDir(dir.path()).mkdir("folder");
    put("short.dat", QByteArray(263, '\x01'));
    put("empty.dat", {});
    put("empty.csv", {});
    put("semicolon.csv", readFile(path("good.csv")).replace(',', ';'));
    const QString out = path("out.file");
    const struct {
        QStringList args;
        int code;
        const char *errPart;
    } cases[] = {
        {{"diff", good, path("short.dat")}, 2, "premature end-of-file"},
        {{"diff", good, path("missing.dat")}, 2, "missing.dat"},
        {{"diff", good}, 2, "diff needs exactly two data files"},
        {{"check", path("folder")}, 2, "folder"},
        {{"check", "--xml", good}, 2, "unknown option \"--xml\""},
        {{"export-csv", path("empty.dat"), "-o", out}, 1, "premature end-of-file"},
        {{"export-csv", path("disabled.dat"), "-o", out}, 1, "timing table is disabled"},
        {{"export-csv", good, "-o", path("folder")}, 1, "folder"},
        {{"export-csv", good}, 2, "-o OUTPUT is required"},
        {{"export-csv", good, "-o", good}, 2, "must not be one of the input files"},
        {{"import-csv", good, path("empty.csv"), "-o", out}, 1, "empty.csv: the file is empty"},
        {{"import-csv", good, path("semicolon.csv"), "-o", out}, 1, "cells separated by semicolons take a decimal comma"},
        {{"import-csv", twoD, path("good.csv"), "-o", out}, 1, "row 1, column 1: \"MAP/RPM\" where the heading is \"RPM\""},
        {{"import-csv", good, path("folder"), "-o", out}, 1, "is a folder"},
        {{"import-csv", path("short.dat"), path("good.csv"), "-o", out}, 1, "premature end-of-file"},
        {{"import-csv", good, path("good.csv"), "-o", path("good.csv")}, 2, "must not be one of the input files"},
    };
    QMap<QString, QByteArray> before;
    for (const QFileInfo &info : QDir(dir.path()).entryInfoList(QDir::Files))
        before[info.fileName()] = readFile(info.filePath());
    for (const auto &c : cases) {
        const CliRun run = runInProcess(c.args);
        EXPECT_EQ(run.code, c.code) << c.args.join(' ').toStdString();
        EXPECT_TRUE(run.err.contains(c.errPart)) << run.err.toStdString();
        EXPECT_EQ(run.err.count('\n'), 1) << run.err.toStdString();
        EXPECT_TRUE(run.out.isEmpty()) << run.out.toStdString();
        EXPECT_FALSE(QFile::exists(out)) << c.args.join(' ').toStdString();
    }
    for (auto f = before.begin(); f != before.end(); ++f)
        EXPECT_EQ(readFile(path(f.key())), f.value()) << f.key().toStdString();
}

}  // namespace
