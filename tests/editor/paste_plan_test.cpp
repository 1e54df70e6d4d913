// Where pasted text lands: this program's own copy, a foreign block, a
// block with the grid's headings, and text that must be refused.
#include "editor/paste_plan.h"

#include "files/table_csv.h"
#include "tables/table_axes.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>

using namespace tunara;
using namespace tunara::editor;

namespace {

constexpr std::uint8_t Sensor = 1;

PasteTable map3D(std::uint8_t sensor = Sensor)
{
    PasteTable t;
    t.rows = 8;
    t.columns = 21;
    t.values.assign(8 * 21, 10.0);
    t.window = {8, 30};
    t.headings.corner = QStringLiteral("MAP/RPM");
    for (int c = 1; c <= 21; ++c)
        t.headings.columns << axes::speedHeading(c);
    for (int r = 1; r <= 8; ++r)
        t.headings.rows << axes::pressureHeading(sensor, r);
    return t;
}

}  // namespace

TEST(PastePlan, OwnCopyKeepsItsRuleAForeignBlockLandsByItsOwnSize)
{
    const PasteTable t = map3D();
    const OwnCopy own{QStringLiteral("11.0\t12.0\r13.0\t14.0"), 1, 1};
    // The own copy: its 2 x 2 from the selection's corner.
    PastePlan plan = planPaste(own.text, own, CellRect::single(2, 3), t);
    EXPECT_EQ(plan.target, (CellRect{2, 3, 2, 2}));
    // A 3 x 3 block copied elsewhere after it: all nine cells land from a
    // single selected cell.
    plan = planPaste("21\t22\t23\r\n24\t25\t26\r\n27\t28\t29\r\n", own, CellRect::single(4, 5), t);
    EXPECT_EQ(plan.target, (CellRect{4, 5, 3, 3}));
    EXPECT_EQ(plan.result.values.back(), 29);
    EXPECT_TRUE(pasteMessage(plan, t.window).isEmpty());
    // Cut at the grid's edge, and said so.
    plan = planPaste("21\t22\t23\r\n24\t25\t26", own, CellRect::single(7, 19), t);
    EXPECT_EQ(plan.target, (CellRect{7, 19, 1, 2}));
    EXPECT_EQ(pasteMessage(plan, t.window), QStringLiteral("Cells beyond the table's edge were left out."));
}

TEST(PastePlan, ForeignTextStaysInsideASelectedBlockAndTheOwnCopySaysWhenTheEdgeCutsIt)
{
    const PasteTable t = map3D();
    // Two cells selected, a hundred values: two land, the rest is counted as
    // far as it was read, for the status bar; no box.
    PastePlan plan = planPaste(QStringLiteral("21\t").repeated(100), {}, CellRect{2, 3, 1, 2}, t);
    EXPECT_EQ(plan.target, (CellRect{2, 3, 1, 2}));
    EXPECT_TRUE(pasteMessage(plan, t.window).isEmpty());
    EXPECT_EQ(pasteNote(plan, t.window), QStringLiteral("More than 20 pasted cells beyond the selection were left out"));
    const OwnCopy own{QStringLiteral("11.0\t12.0\t13.0"), 0, 2};
    EXPECT_TRUE(planPaste(own.text, own, CellRect{7, 19, 1, 2}, t).cut);
    EXPECT_FALSE(planPaste(own.text, own, CellRect::single(3, 3), t).cut);
}

TEST(PastePlan, BlocksWithHeadingsLandUnderTheHeadingsTheyName)
{
    const PasteTable t = map3D();
    Table3D table;
    for (int p = 1; p <= 21; ++p)
        for (int m = 1; m <= 8; ++m)
            table(p, m) = 8 + p * 0.5 + m * 0.0879 * 3;
    // The CSV export as it is, pasted anywhere: the whole table, in grid order.
    const QString csv = QString::fromUtf8(tablecsv::write3D(table, 30, Sensor));
    PastePlan plan = planPaste(csv, {}, CellRect::single(5, 17), t);
    ASSERT_EQ(plan.target, (CellRect{0, 0, 8, 21}));
    for (int p = 1; p <= 21; ++p)
        for (int m = 1; m <= 8; ++m)
            ASSERT_EQ(plan.result.values[std::size_t((8 - m) * 21 + p - 1)], table(p, m)) << p << " " << m;
    // Headings in the first row only: columns by heading, rows from the current row.
    plan = planPaste("1500\t2000\r\n20\t21", {}, CellRect::single(3, 0), t);
    EXPECT_EQ(plan.target, (CellRect{3, 3, 1, 2}));
    EXPECT_EQ(pasteNote(plan, t.window), QStringLiteral("pasted by headings: row 36, 1500\u20132000 RPM"));
    // Both, without the corner text, a partial block: under its headings.
    plan = planPaste("\t2000\t2500\r\n36\t11\t12\r\n42\t13\t14", {}, CellRect::single(0, 0), t);
    EXPECT_EQ(plan.target, (CellRect{3, 4, 2, 2}));
    EXPECT_EQ(pasteNote(plan, t.window), QStringLiteral("pasted by headings: rows 36\u201342, 2000\u20132500 RPM"));
}

// Plain numbers that happen to equal the pressure labels are values: they
// land from the selection's top-left cell, first column included, and no
// note speaks of headings. Only a heading row with a corner makes the first
// column labels.
TEST(PastePlan, NumbersEqualToTheLabelsAreValuesUnderEverySensor)
{
    const struct {
        std::uint8_t sensor;
        QString text;
        int selectedRow;  // the row the user put the block on
        ValueBlock values;
    } cases[] = {
        {0, "22.0\t22.0\t22.0", 6, {22, 22, 22}},      // 1 bar: MAP 28, 22 is row 4's label
        {0, "16\t20\r\n18\t21", 4, {16, 20, 18, 21}},  // 1 bar: MAP 24, 16 and 18 label rows 1, 2
        {1, "24\t24\r\n30\t30", 5, {24, 24, 30, 30}},  // 2 bar: 24 and 30 label rows 2, 3
        {2, "20\t25\r\n30\t26\r\n40\t27", 1, {20, 25, 30, 26, 30, 27}},  // 3 bar, 40 limited
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        const PasteTable t = map3D(c.sensor);
        const PastePlan plan = planPaste(c.text, {}, CellRect::single(c.selectedRow, 3), t);
        const int columns = int(c.text.section(QStringLiteral("\r\n"), 0, 0).count(u'\t')) + 1;
        EXPECT_EQ(plan.target, (CellRect{c.selectedRow, 3, int(c.values.size()) / columns, columns}));
        EXPECT_EQ(plan.result.values, c.values);
        EXPECT_FALSE(pasteNote(plan, t.window).startsWith(QStringLiteral("pasted by headings")));
        // The same first number under a heading row with a corner is a
        // label: the row it names, whatever the selection, and said so.
        const QString label = c.text.section(u'\t', 0, 0);
        const QString shown = QString::number(label.toDouble());
        const PastePlan byLabel =
            planPaste("MAP/RPM\t1500\t2000\r\n" + label + "\t20\t21", {}, CellRect::single(c.selectedRow, 3), t);
        EXPECT_EQ(byLabel.target, (CellRect{int(t.headings.rows.indexOf(shown)), 3, 1, 2}));
        EXPECT_EQ(pasteNote(byLabel, t.window),
                  QStringLiteral("pasted by headings: row %1, 1500\u20132000 RPM").arg(shown));
    }
}

TEST(PastePlan, MismatchedHeadingsRefuseTheWholePaste)
{
    const PasteTable t = map3D();
    const struct {
        QString text;
        QString message;
    } cases[] = {
        {"MAP/RPM\t0\t550\r\n18\t9\t9", "Nothing was pasted: \"550\" names no RPM column of this table."},
        {"MAP/RPM\t0\t500\r\n19\t9\t9", "Nothing was pasted: \"19\" names no MAP row of this table."},
        {"RPM\t0\t500\r\nADV\t9\t9", "Nothing was pasted: \"ADV\" names no MAP row of this table."},
    };
    for (const auto &c : cases) {
        const PastePlan plan = planPaste(c.text, {}, CellRect::single(0, 0), t);
        EXPECT_EQ(plan.refusal, c.message);
        EXPECT_TRUE(plan.target.isEmpty());
    }
}

TEST(PastePlan, BadTextIsHandledQuicklyAndNothingLeavesTheWindow)
{
    const PasteTable t = map3D();
    QString huge;
    for (int i = 0; i < 10000; ++i)
        huge += QStringLiteral("%1\t").arg(i % 40).repeated(1000) + "\r\n";
    QElapsedTimer timer;
    timer.start();
    PastePlan plan = planPaste(huge, {}, CellRect::single(0, 0), t);
    EXPECT_LT(timer.elapsed(), 200);
    EXPECT_EQ(plan.target, (CellRect{0, 0, 8, 21}));
    for (double v : plan.result.values)
        EXPECT_TRUE(t.window.contains(v));
    EXPECT_TRUE(plan.cut);
    // Quoted cells, semicolons, ragged rows and a word among numbers.
    plan = planPaste("\"12.5\";40;abc\r\n\"9\"", {}, CellRect::single(0, 0), t);
    EXPECT_EQ(plan.result.values, (ValueBlock{12.5, 30, 10, 9, 10, 10}));
    EXPECT_EQ(pasteMessage(plan, t.window),
              QStringLiteral("1 value limited to the advance window 8.0 .. 30.0 degrees. "
                             "1 pasted cell holds no number: its cell keeps its value."));
}
