// What the program makes of a file handed to it where a data file or a CSV
// table belongs: loaded, refused as unreadable or short, or named for what
// it is, spreadsheets above all, whatever order their archives are in.
#include "files/data_file.h"
#include "files/table_csv.h"

#include "support/test_data.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <random>

using namespace tunara;
using files::OtherFileKind;
using Outcome = datafile::Loaded::Outcome;
using test::testDataPath;

namespace {

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void put(QByteArray &bytes, qsizetype at, quint32 value, int width)
{
    for (int k = 0; k < width; ++k)
        bytes[at + k] = char((value >> (8 * k)) & 0xFF);
}

// A compound document of one stream in the older Office format: header,
// the directory in sector 0 and the allocation table in sector 1.
QByteArray compoundDocument(const QString &stream)
{
    QByteArray bytes(512 * 3, '\0');
    bytes.replace(0, 8, QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8));
    put(bytes, 0x1E, 9, 2);  // 512-byte sectors
    put(bytes, 0x2C, 1, 4);  // one allocation-table sector ...
    put(bytes, 0x30, 0, 4);  // ... the directory starts in sector 0
    put(bytes, 0x4C, 1, 4);  // ... the table is sector 1
    const auto entry = [&](int index, const QString &name, int type) {
        const qsizetype at = 512 + 128 * index;
        for (int k = 0; k < name.size(); ++k)
            put(bytes, at + 2 * k, name[k].unicode(), 2);
        put(bytes, at + 0x40, quint32(2 * (name.size() + 1)), 2);
        bytes[at + 0x42] = char(type);
    };
    entry(0, QStringLiteral("Root Entry"), 5);
    entry(1, stream, 2);
    put(bytes, 1024, 0xFFFFFFFE, 4);  // the directory ends in sector 0
    put(bytes, 1028, 0xFFFFFFFD, 4);  // sector 1 holds the table
    return bytes;
}

class FileKinds : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    QString write(const QString &name, const QByteArray &bytes)
    {
        QFile f(dir.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
        return f.fileName();
    }
    QTemporaryDir dir;
};

// One loader for every file kind: the outcome, what the file looked like
// and the refusal; a loaded file is decoded, a refused one leaves nothing.
TEST_F(FileKinds, TheLoaderTellsEveryKindApart)
{
    const QByteArray map = readAll(testDataPath(QStringLiteral("map.dat")));
    ASSERT_EQ(map.size(), 264);
    std::mt19937 rng(2641);
    QByteArray binary(5000, '\0');
    for (auto &c : binary)
        c = char(rng() & 0xFF);
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder.dat")));
    const struct {
        QString path;
        Outcome outcome;
        std::optional<OtherFileKind> kind;
    } cases[] = {
        {write("map.dat", map), Outcome::Loaded, std::nullopt},
        {write("longer.dat", map + binary), Outcome::Loaded, std::nullopt},
        {write("short.dat", map.left(263)), Outcome::Short, std::nullopt},
        {write("empty.dat", {}), Outcome::Short, std::nullopt},
        {dir.filePath("missing.dat"), Outcome::Unreadable, std::nullopt},
        {dir.filePath("folder.dat"), Outcome::Unreadable, std::nullopt},
        {write("table.csv", "RPM,0,500\r\nADV,10,12.5\r\n"), Outcome::NotADataFile, OtherFileKind::Csv},
        {testDataPath("map-french-default.csv"), Outcome::NotADataFile, OtherFileKind::Csv},
        {testDataPath("map-rels-first.xlsx"), Outcome::NotADataFile, OtherFileKind::Spreadsheet},
        {testDataPath("map-types-first.xlsx"), Outcome::NotADataFile, OtherFileKind::Spreadsheet},
        {testDataPath("map.ods"), Outcome::NotADataFile, OtherFileKind::Spreadsheet},
        {testDataPath("map-mimetype-last.ods"), Outcome::NotADataFile, OtherFileKind::Spreadsheet},
        {testDataPath("map.xls"), Outcome::NotADataFile, OtherFileKind::Spreadsheet},
        {write("old.xls", compoundDocument("Book")), Outcome::NotADataFile, OtherFileKind::Spreadsheet},
        {write("letter.doc", compoundDocument("WordDocument")), Outcome::NotADataFile, OtherFileKind::CompoundDocument},
        {testDataPath("letter.odt"), Outcome::NotADataFile, OtherFileKind::Zip},
        {write("scan.png", QByteArray("\x89PNG\r\n\x1A\n", 8) + binary), Outcome::NotADataFile, OtherFileKind::Png},
    };
    const QString advice = QStringLiteral("use Import");
    for (const auto &c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        const datafile::Loaded loaded = datafile::load(c.path, advice);
        EXPECT_EQ(loaded.outcome, c.outcome);
        EXPECT_EQ(loaded.otherKind, c.kind);
        EXPECT_EQ(loaded.error.has_value(), c.outcome == Outcome::Unreadable);
        EXPECT_EQ(loaded.data.image.DataBufferEmpty, !loaded.ok());
        if (loaded.ok()) {
            EXPECT_TRUE(loaded.refusal.isEmpty());
            EXPECT_EQ(transferBytes(loaded.data.image), map);
            EXPECT_TRUE(loaded.data.params.TimingTable3D);  // decoded too
            continue;
        }
        EXPECT_EQ(transferBytes(loaded.data.image), QByteArray(264, '\0'));
        if (c.outcome == Outcome::Short)
            EXPECT_EQ(loaded.refusal, datafile::prematureEndMessage());
        else if (c.outcome == Outcome::Unreadable)
            EXPECT_EQ(loaded.refusal, loaded.error->description());
        else
            EXPECT_EQ(loaded.refusal, files::notADataFileText(c.path, *c.kind, advice));
    }
    EXPECT_EQ(datafile::load(testDataPath("map.xls"), advice).refusal,
              testDataPath("map.xls") + QStringLiteral(" is a spreadsheet, not a data file: save its table as CSV, "
                                                       "then use Import"));
    // Without an import where the file is read, a table is no way in either.
    EXPECT_TRUE(datafile::load(testDataPath("map.ods")).refusal.endsWith(QStringLiteral(
        "is a spreadsheet, not a data file: choose a .dat file saved by this program or downloaded from a module")));
}

// Import Table into Grid names a spreadsheet, a data file and a picture for
// what they are; text goes on to the CSV reading, and binary of no known
// kind is not called empty there.
TEST_F(FileKinds, AnImportNamesWhatIsNoCsvText)
{
    const tablecsv::ImportAdvice advice{QStringLiteral("use Import Table into Grid"), QStringLiteral("use File > Open")};
    const auto refusal = [&](const QString &path) { return tablecsv::notCsvText(path, readAll(path), advice); };
    for (const char *name : {"map-rels-first.xlsx", "map-types-first.xlsx", "map.ods", "map-mimetype-last.ods", "map.xls"}) {
        const QString path = testDataPath(QString::fromLatin1(name));
        EXPECT_EQ(refusal(path), path + QStringLiteral(" is a spreadsheet: save its table as CSV, then use Import "
                                                       "Table into Grid"));
    }
    const QString dat = testDataPath(QStringLiteral("map.dat"));
    EXPECT_EQ(refusal(dat), dat + QStringLiteral(" is a data file: use File > Open"));
    const QString png = write("scan.png", QByteArray("\x89PNG\r\n\x1A\n", 8) + QByteArray(300, '\0'));
    EXPECT_EQ(refusal(png), png + QStringLiteral(" is a PNG image, not a CSV file"));
    EXPECT_EQ(refusal(testDataPath(QStringLiteral("map-french-default.csv"))), std::nullopt);

    std::mt19937 rng(77);
    QByteArray binary(300, '\0');
    for (auto &c : binary)
        c = char(rng() & 0xFF);
    binary[5] = '\0';
    EXPECT_EQ(tablecsv::notCsvText(QStringLiteral("x"), binary, advice), std::nullopt);
    const auto read = tablecsv::read2D(binary, 30);
    ASSERT_TRUE(std::holds_alternative<csv::Problem>(read));
    EXPECT_EQ(std::get<csv::Problem>(read).text(), QStringLiteral("not a text file: it holds binary data"));
}

}  // namespace
