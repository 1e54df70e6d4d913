// Table CSV: an export read back gives the same bytes, the variants a
// spreadsheet writes are read, and every malformed file is refused with its
// row and column.
#include "files/table_csv.h"

#include "compare_fixtures.h"
#include "tables/table_codec.h"

#include <gtest/gtest.h>

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
        ModuleImage image = data.image;
        if (round % 2 == 1) {
            const QByteArray csv = tablecsv::write3D(data.tables.table3D, trig, data.params.MAPSensor);
            EncodeTable3D(accepted(tablecsv::read3D(csv, trig, data.params.MAPSensor)), trig, image);
        } else {
            EncodeTable2D(accepted(tablecsv::read2D(tablecsv::write2D(data.tables.table2D, trig), trig)), trig, image);
        }
        EXPECT_EQ(image.EEPROMBuffer, data.image.EEPROMBuffer) << "round " << round;
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
        EXPECT_EQ(EncodeAdvance(30, tablecsv::advanceText(v, 30).toDouble()), EncodeAdvance(30, v)) << v;
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
        {withRow(2, QString(rows[1]).replace(',', ';').replace('.', ',')), 2, 0, "not a semicolon"},
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

}  // namespace
