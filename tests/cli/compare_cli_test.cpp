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

QByteArray fileBytes(const ModuleImage &image)
{
    return QByteArray(reinterpret_cast<const char *>(image.EEPROMBuffer.data()) + 16, 264);
}

class CompareCli : public ::testing::Test {
protected:
    QTemporaryDir dir;
    std::mt19937 rng{1313};
    QString path(const QString &name) const { return dir.filePath(name); }
    QString put(const QString &name, const QByteArray &bytes) const
    {
        EXPECT_TRUE(putFile(path(name), bytes));
        return path(name);
    }
    QString programFile(const QString &name, bool is3D)
    {
        return put(name, fileBytes(comparetest::programImage(rng, is3D)));
    }
};

QJsonObject json(const CliRun &run)
{
    return QJsonDocument::fromJson(run.out.toUtf8()).object();
}

TEST_F(CompareCli, DiffExitsZeroOnlyForIdenticalFilesAndListsWhatDiffers)
{
    const QString a = programFile("a.dat", true);
    QByteArray bytes = readFile(a);
    bytes[52 - 16] = char(bytes[52 - 16] ^ 0x04);  // RetardComp
    const QString param = put("param.dat", bytes);
    bytes = readFile(a);
    bytes[80 - 16] = 9;  // a reserved byte: read alike
    const QString reserved = put("reserved.dat", bytes);

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

    QByteArray bytes = readFile(clean);
    bytes[48 - 16] = 45;
    run = runInProcess({"check", "--json", put("trig.dat", bytes)});
    EXPECT_EQ(run.code, 1);
    const QJsonObject item = json(run)["items"].toArray()[0].toObject();
    EXPECT_EQ(item["kind"].toString(), "limitedParameter");
    EXPECT_EQ(item["stored"].toDouble(), 45);
    EXPECT_EQ(item["after"].toDouble(), 40);
    EXPECT_TRUE(json(run)["resaveChangesFile"].toBool());
}

TEST_F(CompareCli, CsvExportThenImportGivesBackTheSameFile)
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
    }
}

TEST_F(CompareCli, ExportWarnsWhenAnImportWouldNotGiveTheSameBytes)
{
    QByteArray bytes = readFile(programFile("t.dat", true));
    bytes[150 - 16] = char(255);  // a 3D cell below the advance window
    const CliRun run = runInProcess({"export-csv", put("out.dat", bytes), "-o", path("t.csv")});
    EXPECT_EQ(run.code, 0);
    EXPECT_TRUE(run.err.contains("an import of this CSV would be refused (row ")) << run.err.toStdString();
}

TEST_F(CompareCli, BadInputFailsWithOneLineNoOutputAndUntouchedInputs)
{
    const QString good = programFile("good.dat", true);
    const QString twoD = programFile("2d.dat", false);
    runInProcess({"export-csv", good, "-o", path("good.csv")});
    const QString goodCsv = QString::fromUtf8(readFile(path("good.csv")));
    QByteArray disabled = readFile(good);
    disabled[50 - 16] = 0x1C;
    QDir(dir.path()).mkdir("folder");
    const QMap<QString, QByteArray> files = {
        {"short.dat", QByteArray(263, '\x01')}, {"empty.dat", {}}, {"disabled.dat", disabled},
        {"empty.csv", {}}, {"semicolon.csv", goodCsv.toUtf8().replace(',', ';')},
        {"binary.csv", QByteArray::fromHex("00ff10e2") + goodCsv.toUtf8()},
        {"rows.csv", goodCsv.toUtf8() + goodCsv.section("\r\n", 1, 1).toUtf8().append("\r\n").repeated(10000)},
        {"word.csv", goodCsv.toUtf8().replace(",20.", ",2O.")},
    };
    for (auto f = files.begin(); f != files.end(); ++f)
        put(f.key(), f.value());
    const QString out = path("out.file");
    const struct {
        QStringList args;
        int code;
        const char *errPart;
    } cases[] = {
        {{"diff", good, path("short.dat")}, 2, "premature end-of-file"},
        {{"diff", path("empty.dat"), good}, 2, "premature end-of-file"},
        {{"diff", good, path("folder")}, 2, "folder"},
        {{"diff", good, path("missing.dat")}, 2, "missing.dat"},
        {{"diff", good}, 2, "diff needs exactly two data files"},
        {{"check", path("folder")}, 2, "folder"},
        {{"check", path("short.dat")}, 2, "premature end-of-file"},
        {{"check", "--xml", good}, 2, "unknown option \"--xml\""},
        {{"export-csv", path("empty.dat"), "-o", out}, 1, "premature end-of-file"},
        {{"export-csv", path("disabled.dat"), "-o", out}, 1, "timing table is disabled"},
        {{"export-csv", good, "-o", path("folder")}, 1, "folder"},
        {{"export-csv", good}, 2, "-o OUTPUT is required"},
        {{"export-csv", good, "-o", good}, 2, "must not be one of the input files"},
        {{"import-csv", good, path("empty.csv"), "-o", out}, 1, "empty.csv: the file is empty"},
        {{"import-csv", good, path("semicolon.csv"), "-o", out}, 1, "row 1: semicolons between cells"},
        {{"import-csv", good, path("binary.csv"), "-o", out}, 1, "not a text file"},
        {{"import-csv", good, path("rows.csv"), "-o", out}, 1, "row 10: extra row"},
        {{"import-csv", good, path("word.csv"), "-o", out}, 1, "\"2O."},
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
