// Table CSV: an export read back gives the same bytes, the variants a
// spreadsheet writes are read, and every malformed file is refused with its
// row and column.
#include "files/table_csv.h"

#include "compare_fixtures.h"
#include "support/test_data.h"
#include "tables/table_codec.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QRegularExpression>

using namespace tunara;
using comparetest::decoded;

namespace {

template <typename Table>
Table accepted(const tablecsv::Result<Table> &result)
{
    if (const auto *p = std::get_if<csv::Problem>(&result))
        ADD_FAILURE() << p->text().toStdString();
    return std::holds_alternative<Table>(result) ? std::get<Table>(result) : Table{};
}

TEST(TableCsv, ExportThenImportGivesTheSameBytes)
{
    std::mt19937 rng(31);
    for (int round = 0; round < 30; ++round) {
        const ModuleData data = decoded(comparetest::programImage(rng, round % 2 == 1));
        const int trig = data.params.TrigTiming;
        for (const csv::Dialect dialect : {csv::CommaPoint, csv::SemicolonComma}) {
            ModuleImage image = data.image;
            if (round % 2 == 1) {
                const QByteArray csv = tablecsv::write3D(data.tables.table3D, trig, data.params.MAPSensor, dialect);
                encodeTable3D(accepted(tablecsv::read3D(csv, trig, data.params.MAPSensor)), trig, image);
            } else {
                const QByteArray csv = tablecsv::write2D(data.tables.table2D, trig, dialect);
                encodeTable2D(accepted(tablecsv::read2D(csv, trig)), trig, image);
            }
            EXPECT_EQ(image.EEPROMBuffer, data.image.EEPROMBuffer) << "round " << round << " " << char(dialect.separator);
        }
    }
    // Any advance, and those right at the half steps where the byte's rounding decides.
    std::uniform_real_distribution<double> advance(8.0, 30.0);
    std::vector<double> values;
    for (int k = 0; k < 100000; ++k)
        values.push_back(advance(rng));
    for (int step = 0; step < 250; ++step)
        for (double nudge : {-1e-12, 0.0, 1e-12})
            values.push_back(30 - (step + 0.5) * DegreesPerStep + nudge);
    for (double v : values)
        EXPECT_EQ(encodeAdvance(30, tablecsv::advanceText(v, 30).toDouble()), encodeAdvance(30, v)) << v;
}

TEST(TableCsv, SpreadsheetVariantsAreRead)
{
    Table2D table;
    for (int p = 1; p <= SpeedPoints; ++p)
        table(p, 1) = 10 + p * 0.5;
    const QString plain = QString::fromUtf8(tablecsv::write2D(table, 30));
    const QString quoted = QString(plain).replace(",1", ",\" 1").replace(",2", ",\"2").replace(QRegularExpression(",\"([^,\r]*)"), ",\"\\1\"");
    const QStringList variants = {plain, QChar(0xFEFF) + plain /* byte order mark */, QString(plain).replace("\r\n", "\n"), quoted,
                                  QString(plain).replace("\r\n", ",,\r\n") + "\r\n,,,\r\n\r\n" /* empty leftovers */,
                                  QString(plain).replace("RPM,", "rpm , ").replace("ADV,", "adv,")};
    for (const QString &v : variants) {
        const Table2D read = accepted(tablecsv::read2D(v.toUtf8(), 30));
        EXPECT_EQ(read(21, 1), 20.5) << v.toStdString();
        EXPECT_EQ(read(21, 2), 30.0);
    }
}

// The separator comes from row 1; semicolons fix the decimal comma, after
// commas and tabs the first cell with a mark fixes it; each form is read to
// the same values, and a file that mixes forms is refused at the first cell
// that does.
TEST(TableCsv, SeparatorAndDecimalMarkAreDetected)
{
    Table2D table;
    for (int p = 1; p <= SpeedPoints; ++p)
        table(p, 1) = 10 + p * 0.25;
    const QString comma = QString::fromUtf8(tablecsv::write2D(table, 30));
    const QString semi = QString::fromUtf8(tablecsv::write2D(table, 30, csv::SemicolonComma));
    const QString tab = QString(comma).replace(',', '\t');
    const QString tabComma = QString(semi).replace(';', '\t');
    const auto cell = [](QString text, int column, const QString &value) {
        QStringList rows = text.split("\r\n");
        const QChar sep = text.contains(';') ? ';' : text.contains('\t') ? '\t' : ',';
        QStringList cells = rows[1].split(sep);
        cells[column - 1] = value;
        rows[1] = cells.join(sep);
        return rows.join("\r\n");
    };
    const struct {
        QString text;
        int column;  // 0: read; else the refused cell's column in row 2
        const char *reason;
    } cases[] = {
        {comma, 0, ""},
        {semi, 0, ""},
        {QChar(0xFEFF) + QString(semi).replace("\r\n", "\n"), 0, ""},
        {tab, 0, ""},
        {tabComma, 0, ""},
        {QString(tab).replace("\r\n", "\t\r\n") /* trailing tabs */, 0, ""},
        {cell(semi, 4, "\"10,75\""), 0, ""},
        {cell(semi, 4, "10.75"), 4, "\"10.75\" is not a number: cells separated by semicolons take a decimal comma"},
        {cell(semi, 4, "1.234,5"), 4, "\"1.234,5\" is not a number: thousands separators are not read"},
        {QString(comma).replace("ADV,10.25,", "ADV,\"10,25\","), 3,
         "\"10.5\" is not a number: row 2, column 2 uses a decimal comma"},
        {cell(tab, 6, "11,5"), 6, "\"11,5\" is not a number: row 2, column 2 uses a decimal point"},
        {cell(tabComma, 2, "10.25"), 3, "\"10,5\" is not a number: row 2, column 2 uses a decimal point"},
        {comma.section("\r\n", 0, 0) + "\r\n" + semi.section("\r\n", 1), 1,
         "semicolons between cells where row 1 separates them by commas"},
        {semi.section("\r\n", 0, 0) + "\r\n" + comma.section("\r\n", 1), 1,
         "commas between cells where row 1 separates them by semicolons"},
        {tab.section("\r\n", 0, 0) + "\r\n" + QString(semi.section("\r\n", 1)).replace(',', '.'), 1,
         "semicolons between cells where row 1 separates them by tabs"},
    };
    for (const auto &c : cases) {
        const auto result = tablecsv::read2D(c.text.toUtf8(), 30);
        if (c.column == 0) {
            const Table2D read = accepted(result);
            for (int p = 1; p <= SpeedPoints; ++p)
                EXPECT_EQ(read(p, 1), table(p, 1)) << p << " | " << c.text.toStdString();
            continue;
        }
        ASSERT_TRUE(std::holds_alternative<csv::Problem>(result)) << c.text.toStdString();
        const csv::Problem p = std::get<csv::Problem>(result);
        EXPECT_EQ(p.text(), QStringLiteral("row 2, column %1: %2").arg(c.column).arg(c.reason));
    }
}

TEST(TableCsv, MalformedFilesAreRefusedWithRowAndColumn)
{
    Table3D table;
    for (int p = 1; p <= SpeedPoints; ++p)
        for (int m = 1; m <= PressureRows; ++m)
            table(p, m) = 20.5;
    const QString good = QString::fromUtf8(tablecsv::write3D(table, 30, 1));  // 2 bar: labels 18..60
    QStringList rows = good.split("\r\n");
    rows.removeLast();
    const auto withRow = [&](int row, const QString &text) {
        QStringList r = rows;
        r[row - 1] = text;
        return r.join("\r\n").toUtf8();
    };
    const auto withCell = [&](int row, int column, const QString &text) {
        QStringList cells = rows[row - 1].split(',');
        cells[column - 1] = text;
        return withRow(row, cells.join(','));
    };
    const struct {
        QByteArray bytes;
        int row, column;
        const char *reason;
    } cases[] = {
        {"", 0, 0, "the file is empty"},
        {"\r\n\r\n", 0, 0, "holds no table"},
        {QByteArray("MAP/RPM,0\0,1", 12), 0, 0, "not a text file"},
        {"\xff\xfe" "M\0A\0", 0, 0, "not a UTF-8 text file"},
        {good.toUtf8() + (rows[3] + "\r\n").toUtf8().repeated(10000), 10, 0, "extra row: a 3D table has 9 rows"},
        {rows.mid(0, 5).join("\r\n").toUtf8(), 6, 0, "missing row"},
        {withRow(4, ""), 4, 0, "empty row"},
        {withRow(4, rows[3] + ",5"), 4, 23, "extra column"},
        {withRow(4, rows[3].section(',', 0, 20)), 4, 22, "missing column"},
        {tablecsv::write2D(Table2D{}, 30), 1, 1, "\"RPM\" where the heading is \"MAP/RPM\": this CSV holds a 2D table"},
        {withCell(1, 3, "600"), 1, 3, "where the heading is 500 RPM"},
        {withCell(2, 1, "16"), 2, 1, "where this table's row label is 18"},
        {withCell(5, 7, "\"12,5\""), 5, 7, "\"12,5\" is not a number"},
        {withCell(5, 7, "1e1"), 5, 7, "is not a number"},
        {withCell(5, 7, "\"12\"x"), 5, 7, "text after the closing quote"},
        {withCell(9, 22, "\"12"), 9, 22, "quoted cell is not closed"},
        {withCell(5, 7, " "), 5, 7, "empty cell"},
        {withCell(5, 7, "30.01"), 5, 7, "outside the advance window 8 to 30 degrees"},
        {withCell(5, 7, "7.99"), 5, 7, "outside the advance window"},
    };
    for (const auto &c : cases) {
        const auto result = tablecsv::read3D(c.bytes, 30, 1);
        ASSERT_TRUE(std::holds_alternative<csv::Problem>(result)) << c.reason;
        const csv::Problem p = std::get<csv::Problem>(result);
        EXPECT_EQ(p.row, c.row) << c.reason << " | " << p.text().toStdString();
        EXPECT_EQ(p.column, c.column) << c.reason << " | " << p.text().toStdString();
        EXPECT_TRUE(p.reason.contains(c.reason)) << p.text().toStdString();
        EXPECT_FALSE(p.text().contains('\n'));
    }
    // The 2D window floor is 0 degrees.
    const QByteArray negative = QString::fromUtf8(tablecsv::write2D(Table2D{}, 10)).replace("ADV,0,", "ADV,-0.5,").toUtf8();
    EXPECT_EQ(std::get<csv::Problem>(tablecsv::read2D(negative, 10)).column, 2);
}

// The CSV a spreadsheet writes by default in a decimal-comma locale: commas
// between cells, the numbers quoted with a decimal comma. Read back as the
// table it was saved from, byte for byte, whatever the table; quoted
// headings and labels too, and one file keeps to one decimal mark.
TEST(TableCsv, TheDefaultCsvOfADecimalCommaLocaleImportsExactly)
{
    QFile dat(test::testDataPath(QStringLiteral("map.dat")));
    QFile french(test::testDataPath(QStringLiteral("map-french-default.csv")));
    ASSERT_TRUE(dat.open(QIODevice::ReadOnly) && french.open(QIODevice::ReadOnly));
    ModuleImage source;
    const QByteArray bytes = dat.readAll();
    std::copy(bytes.begin(), bytes.end(), source.EEPROMBuffer.begin() + 16);
    const ModuleData data = decoded(source);
    ModuleImage image;
    encodeTable3D(accepted(tablecsv::read3D(french.readAll(), data.params.TrigTiming, data.params.MAPSensor)),
                  data.params.TrigTiming, image);
    EXPECT_TRUE(std::equal(image.EEPROMBuffer.begin() + 112, image.EEPROMBuffer.end(), data.image.EEPROMBuffer.begin() + 112));

    const auto spreadsheetForm = [](const QByteArray &csv) {
        static const QRegularExpression decimal(QStringLiteral(",(-?[0-9]+)\\.([0-9]+)"));
        return QString::fromUtf8(csv).replace(decimal, QStringLiteral(",\"\\1,\\2\"")).toUtf8();
    };
    std::mt19937 rng(33);
    for (int round = 0; round < 10; ++round) {
        const ModuleData random = decoded(comparetest::programImage(rng, true));
        const int trig = random.params.TrigTiming;
        const QByteArray csv = spreadsheetForm(tablecsv::write3D(random.tables.table3D, trig, random.params.MAPSensor));
        ModuleImage back = random.image;
        encodeTable3D(accepted(tablecsv::read3D(csv, trig, random.params.MAPSensor)), trig, back);
        EXPECT_EQ(back.EEPROMBuffer, random.image.EEPROMBuffer) << csv.toStdString();
    }

    Table2D table;
    for (int p = 1; p <= SpeedPoints; ++p)
        table(p, 1) = 10 + p * 0.5;
    const QByteArray quoted = spreadsheetForm(tablecsv::write2D(table, 30)).replace("RPM,0,", "\"RPM\",\"0\",").replace("ADV,", "\"ADV\" ,");
    EXPECT_EQ(accepted(tablecsv::read2D(quoted, 30))(21, 1), 20.5) << quoted.toStdString();
    const auto mixed = tablecsv::read2D(QByteArray(quoted).replace("\"20,5\"", "20.5"), 30);
    ASSERT_TRUE(std::holds_alternative<csv::Problem>(mixed));
    EXPECT_EQ(std::get<csv::Problem>(mixed).text(),
              QStringLiteral("row 2, column 22: \"20.5\" is not a number: row 2, column 2 uses a decimal comma"));
}

// Oversize files are refused as before, from what lies within the table
// and one row or cell past it: nothing later is read (the broken quote at
// the end would otherwise be reported), and a huge cell costs no more than
// a short one.
TEST(TableCsv, OversizeFilesAreRefusedFromTheirStartAlone)
{
    Table3D table;
    for (int p = 1; p <= SpeedPoints; ++p)
        for (int m = 1; m <= PressureRows; ++m)
            table(p, m) = 20.5;
    const QByteArray good = tablecsv::write3D(table, 30, 1);
    QList<QByteArray> rows = good.split('\n');
    rows.removeLast();
    const auto withRow = [&](int row, const QByteArray &text) {
        QList<QByteArray> r = rows;
        r[row - 1] = text + '\r';
        return r.join('\n') + '\n';
    };
    const QByteArray unclosed = "\"never closed";
    const struct {
        QByteArray bytes;
        const char *text;
    } refused[] = {
        {good + QByteArray("1,2,3\r\n").repeated(500000) + unclosed, "row 10: extra row: a 3D table has 9 rows"},
        {good + QByteArray("\r\n").repeated(500000) + "x\r\n" + unclosed, "row 10: extra row: a 3D table has 9 rows"},
        {withRow(4, rows[3].trimmed() + QByteArray(",5").repeated(1000000) + unclosed),
         "row 4, column 23: extra column: every row of a 3D table has 22 columns"},
        {withRow(1, QByteArray(4000000, 'x') + rows[0].mid(7).trimmed()),
         "row 1, column 1: \"xxxxxxxxxxxxxxxxxxxx...\" where the heading is \"MAP/RPM\""},
        {withRow(5, rows[4].trimmed() + QByteArray(4000000, '1')),
         "row 5, column 22: \"20.51111111111111111...\" is not a number"},
    };
    for (const auto &c : refused) {
        const auto result = tablecsv::read3D(c.bytes, 30, 1);
        ASSERT_TRUE(std::holds_alternative<csv::Problem>(result)) << c.text;
        EXPECT_EQ(std::get<csv::Problem>(result).text(), QString::fromUtf8(c.text));
    }
    // Blank leftovers after the table, however many, are still passed over.
    EXPECT_TRUE(std::holds_alternative<Table3D>(
        tablecsv::read3D(good + QByteArray(",,,\r\n").repeated(1000000), 30, 1)));

    // The reader stops at the first cell past its limit and has decoded no
    // more than the piece it was in.
    const QByteArray line = QByteArray("1,").repeated(2000000);
    csv::RecordReader reader(line, u',', {21, tablecsv::MaxCellChars});
    QStringList fields;
    EXPECT_TRUE(reader.next(fields).isEmpty());
    EXPECT_EQ(fields.size(), 22);
    EXPECT_TRUE(reader.atEnd());
    EXPECT_LT(reader.bytesRead(), 64 * 1024);
    // A cell past the character limit is cut and marked.
    csv::RecordReader cells(QByteArray(1000, 'a') + ",b", u',', {5, 10});
    EXPECT_TRUE(cells.next(fields).isEmpty());
    EXPECT_EQ(fields, (QStringList{QString(10, u'a') + QChar(0x2026), QStringLiteral("b")}));
}

}  // namespace
