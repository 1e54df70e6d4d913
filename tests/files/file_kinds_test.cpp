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

// Each kind through the one loader (outcome, what it looked like, refusal;
// a loaded file decoded, a refused one leaving an empty image) and through
// the import's check, which names spreadsheets and data files.
TEST(FileKinds, TheLoaderAndTheImportTellEveryKindApart)
{
    QTemporaryDir dir;
    const auto write = [&](const QString &name, const QByteArray &bytes) {
        QFile f(dir.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
        return f.fileName();
    };
    const QByteArray map = readAll(testDataPath("map.dat"));
    ASSERT_EQ(map.size(), 264);
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder.dat")));
    const QByteArray binary = QByteArray("\x01\0\xFE", 3).repeated(100);
    const QString spreadsheet = QStringLiteral(" is a spreadsheet: save its table as CSV, then use Import Table into Grid");
    const struct {
        QString path;
        Outcome outcome;
        std::optional<OtherFileKind> kind;
        std::optional<QString> importRefusal;
    } cases[] = {
        {write("map.dat", map), Outcome::Loaded, {}, QStringLiteral(" is a data file: use File > Open")},
        {write("longer.dat", map + binary), Outcome::Loaded, {}, {}},
        {write("short.dat", map.left(263)), Outcome::Short, {}, {}},
        {write("empty.dat", {}), Outcome::Short, {}, {}},
        {write("noise.bin", binary), Outcome::Loaded, {}, {}},
        {dir.filePath("missing.dat"), Outcome::Unreadable, {}, {}},
        {dir.filePath("folder.dat"), Outcome::Unreadable, {}, {}},
        {testDataPath("map-french-default.csv"), Outcome::NotADataFile, OtherFileKind::Csv, {}},
        {testDataPath("map-rels-first.xlsx"), Outcome::NotADataFile, OtherFileKind::Spreadsheet, spreadsheet},
        {testDataPath("map-types-first.xlsx"), Outcome::NotADataFile, OtherFileKind::Spreadsheet, spreadsheet},
        {testDataPath("map.ods"), Outcome::NotADataFile, OtherFileKind::Spreadsheet, spreadsheet},
        {testDataPath("map-mimetype-last.ods"), Outcome::NotADataFile, OtherFileKind::Spreadsheet, spreadsheet},
        {testDataPath("map.xls"), Outcome::NotADataFile, OtherFileKind::Spreadsheet, spreadsheet},
        {testDataPath("letter.odt"), Outcome::NotADataFile, OtherFileKind::Zip, QStringLiteral(" is a ZIP archive, not a CSV file")},
    };
    const QString advice = QStringLiteral("use Import");
    const tablecsv::ImportAdvice importAdvice{QStringLiteral("use Import Table into Grid"), QStringLiteral("use File > Open")};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        const datafile::Loaded loaded = datafile::load(c.path, advice);
        EXPECT_EQ(loaded.outcome, c.outcome);
        EXPECT_EQ(loaded.otherKind, c.kind);
        EXPECT_EQ(loaded.data.image.DataBufferEmpty, !loaded.ok());
        EXPECT_EQ(transferBytes(loaded.data.image), loaded.ok() ? readAll(c.path).left(264) : QByteArray(264, '\0'));
        EXPECT_EQ(loaded.refusal, c.outcome == Outcome::Loaded       ? QString()
                                  : c.outcome == Outcome::Short      ? datafile::prematureEndMessage()
                                  : c.outcome == Outcome::Unreadable ? loaded.error->description()
                                                                     : files::notADataFileText(c.path, *c.kind, advice));
        if (c.outcome != Outcome::Unreadable) {
            EXPECT_EQ(tablecsv::notCsvText(c.path, readAll(c.path), importAdvice),
                      c.importRefusal ? std::optional<QString>(c.path + *c.importRefusal) : std::nullopt);
        }
    }
    EXPECT_TRUE(datafile::load(testDataPath("map.dat")).data.params.TimingTable3D);  // decoded
    EXPECT_TRUE(datafile::load(testDataPath("map.xls"), advice).refusal.endsWith(
        QStringLiteral("map.xls is a spreadsheet, not a data file: save its table as CSV, then use Import")));
    // Without an import where the file is read, a table is no way in either.
    EXPECT_TRUE(datafile::load(testDataPath("map.ods")).refusal.endsWith(QStringLiteral(
        "is a spreadsheet, not a data file: choose a .dat file saved by this program or downloaded from a module")));
    // Binary of no known kind reaches the CSV reading, which does not call it empty.
    const auto read = tablecsv::read2D(binary, 30);
    ASSERT_TRUE(std::holds_alternative<csv::Problem>(read));
    EXPECT_EQ(std::get<csv::Problem>(read).text(), QStringLiteral("not a text file: it holds binary data"));
}

}  // namespace
