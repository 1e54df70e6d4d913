// The new 2D table wizard: its checks, the curve it builds, and its window.
#include "views/chart_2d_view.h"
#include "app/table_editor_fixture.h"
#include "views/timing_grid.h"
#include "dialogs/new_2d_table_dialog.h"

#include <QLineEdit>
#include <QLineSeries>
#include <QPushButton>
#include <QTest>

namespace tunara::test {
namespace {

using ui::Answer;
using wizards::FieldMessage;
using wizards::generateCurve;
using wizards::New2DTableForm;

std::vector<double> curve(const New2DTableForm &f)
{
    const std::optional<Table2D> t = generateCurve(f);
    std::vector<double> out;
    if (t)
        for (int p = 1; p <= SpeedPoints; ++p)
            out.push_back((*t)(p, 1));
    return out;
}

TEST(New2DTableForm, OpensWithAdvancesInsideTheTriggerTiming)
{
    const New2DTableForm f30 = New2DTableForm::opened(30);
    EXPECT_EQ(f30.StartTimingVal, 10);
    EXPECT_EQ(f30.FinalTimingVal, 30);
    EXPECT_EQ(f30.StartRPMVal, 1500);
    EXPECT_EQ(f30.FinalRPMVal, 3000);
    EXPECT_EQ(New2DTableForm::opened(8).StartTimingVal, 0);
    EXPECT_EQ(New2DTableForm::opened(8).FinalTimingVal, 8);
}

TEST(New2DTableForm, RampsAreSnappedToWholeStepsAndKeptInTheWindow)
{
    // Worked by hand: 114, 190, 265 and 341 steps of 0.0879.
    const std::vector<double> d = curve(New2DTableForm::opened(30));
    ASSERT_EQ(d.size(), 21u);
    for (int i : {0, 1, 2})
        EXPECT_EQ(d[i], 10.0);
    EXPECT_NEAR(d[3], 10.0206, 1e-5);
    EXPECT_NEAR(d[4], 16.7010, 1e-5);
    EXPECT_NEAR(d[5], 23.2935, 1e-5);
    EXPECT_NEAR(d[6], 29.9739, 1e-5);
    for (int i = 7; i <= 20; ++i)
        EXPECT_EQ(d[i], 30.0);
    EXPECT_EQ((*generateCurve(New2DTableForm::opened(30)))(21, 2), 30.0);

    New2DTableForm step = New2DTableForm::opened(30);
    step.StartRPMVal = 3000;
    const std::vector<double> s = curve(step);
    EXPECT_EQ(s[5], 10.0);
    EXPECT_NEAR(s[6], 10.0206, 1e-5);
    EXPECT_EQ(s[7], 30.0);

    New2DTableForm high{35, 1500, 3000, 5, 30};
    const std::vector<double> h = curve(high);
    EXPECT_EQ(h[3], 13.0);  // 35 - 22
    EXPECT_NEAR(h[4], 13.3608, 1e-5);

    New2DTableForm falling{30, 1500, 3000, 30, 10};
    const std::vector<double> f = curve(falling);
    EXPECT_EQ(f[0], 30.0);
    EXPECT_EQ(f[20], 10.0);
    EXPECT_GT(f[4], f[5]);

    for (double v : curve(New2DTableForm{0, 1500, 3000, 0, 0}))
        EXPECT_EQ(v, 0.0);
    EXPECT_FALSE(generateCurve(New2DTableForm{30, 3000, 1500, 10, 30}));
}

TEST(New2DTableForm, EntriesAreReadLenientlyStoredWholeAndCorrectedWithAMessage)
{
    New2DTableForm f = New2DTableForm::opened(30);
    EXPECT_FALSE(f.enterStartTiming(QStringLiteral("12.9")));
    EXPECT_EQ(f.StartTimingVal, 12);
    EXPECT_FALSE(f.enterStartRPM(QStringLiteral("1 2\t49")));
    EXPECT_EQ(f.StartRPMVal, 1000);
    EXPECT_FALSE(f.enterFinalRPM(QStringLiteral("1750")));
    EXPECT_EQ(f.FinalRPMVal, 2000);

    const std::optional<FieldMessage> low = f.enterStartRPM(QStringLiteral("499"));
    ASSERT_TRUE(low);
    EXPECT_EQ(low->text, QStringLiteral("Value must be greater than or equal to 500"));
    EXPECT_EQ(low->title, QStringLiteral("Start RPM Parameter"));
    EXPECT_EQ(f.StartRPMVal, 500);

    const std::optional<FieldMessage> over = f.enterFinalTiming(QStringLiteral("31"));
    ASSERT_TRUE(over);
    EXPECT_EQ(over->text, QStringLiteral("Value must be less than or equal to trigger timing: 30"));
    EXPECT_EQ(over->title, QStringLiteral("Final Timing Value"));
    EXPECT_EQ(f.FinalTimingVal, 30);

    EXPECT_FALSE(f.enterTrigTiming(QStringLiteral("1")));
    EXPECT_EQ(f.TrigTimingVal, 1);
    EXPECT_EQ(f.StartTimingVal, 1);  // lowered with the trigger timing
    EXPECT_EQ(f.FinalTimingVal, 1);
    ASSERT_TRUE(f.enterTrigTiming(QStringLiteral("41")));
    EXPECT_EQ(f.TrigTimingVal, 40);
    ASSERT_TRUE(f.enterTrigTiming(QStringLiteral("-3")));
    EXPECT_EQ(f.TrigTimingVal, 0);

    // The RPM pair stays in order from either side.
    f.enterFinalRPM(QStringLiteral("2000"));
    f.enterStartRPM(QStringLiteral("5000"));
    EXPECT_EQ(f.FinalRPMVal, 5000);
    f.enterFinalRPM(QStringLiteral("1000"));
    EXPECT_EQ(f.StartRPMVal, 1000);
    EXPECT_EQ(f.enterFinalRPM(QStringLiteral("999"))->text, QStringLiteral("Value must be greater than or equal to 1000"));
}

class New2DTableWizard : public TableEditorTest {};

TEST_F(New2DTableWizard, OpeningOffersToSaveTheTableOnViewThenClearsIt)
{
    ui::frmTunara_Main &w = shown();
    chooseTable(true, 30);
    openTable();
    // Cancel keeps the table on view; the wizard opens all the same.
    ui.answers = {Answer::Cancel};
    choose(actions().newTable);
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0].text, QStringLiteral("Save timing table before closing file?"));
    EXPECT_EQ(ui.messages()[0].title, QStringLiteral("Close File"));
    EXPECT_EQ(ui.messages()[0].buttons, ui::Buttons::YesNoCancel);
    EXPECT_EQ(ui.messages()[0].icon, ui::Icon::Exclamation);
    EXPECT_TRUE(w.isTableOpen());
    EXPECT_EQ(ui.calls.back().kind, UiCall::Kind::Modal);

    ui.answers = {Answer::No};
    choose(actions().newTable);
    EXPECT_FALSE(w.isTableOpen());
    EXPECT_EQ(w.windowTitle(), w.mainTitle());
}

TEST_F(New2DTableWizard, UpdateAndOKPutTheCurveOnViewWithItsTriggerTiming)
{
    ui::frmTunara_Main &w = shown();
    chooseTable(true, 30);
    wizards::frmNew2DTable wizard(editor(), &w);
    wizard.Form_Load();
    EXPECT_EQ(wizard.windowTitle(), QStringLiteral("Tunara Torvik - New 2D Timing Table"));
    EXPECT_EQ(wizard.box("txtStartTimingVal")->text(), QStringLiteral("10"));
    EXPECT_FALSE(w.isTableOpen());
    wizard.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&wizard));

    // A box is checked as the focus leaves it.
    QLineEdit *trig = wizard.box("txtTrigTimingVal");
    trig->setFocus();
    trig->setText(QStringLiteral("35"));
    wizard.box("txtStartTimingVal")->setFocus();
    EXPECT_EQ(wizard.form().TrigTimingVal, 35);
    wizard.box("txtStartTimingVal")->setText(QStringLiteral("5"));
    ui.answers = {Answer::OK};
    wizard.box("txtFinalTimingVal")->setFocus();
    wizard.box("txtFinalTimingVal")->setText(QStringLiteral("50"));
    QTest::mouseClick(wizard.findChild<QPushButton *>(QStringLiteral("cmdUpdate")), Qt::LeftButton);
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0].text, QStringLiteral("Value must be less than or equal to trigger timing: 35"));
    EXPECT_EQ(wizard.box("txtFinalTimingVal")->text(), QStringLiteral("35"));

    EXPECT_TRUE(w.isTableOpen());
    EXPECT_EQ(data.params.TrigTiming, 35);
    EXPECT_EQ(w.grid2D()->cellText(1, 1), QStringLiteral("13.0"));
    EXPECT_EQ(w.grid2D()->cellText(1, 21), QStringLiteral("35.0"));
    EXPECT_EQ(w.chart2D()->triggerSeries()->at(4).y(), 35.0);

    // A text the focus never left is checked before it is used, and the
    // other boxes keep what they show.
    wizard.box("txtStartRPMVal")->setText(QStringLiteral("1999"));
    wizard.cmdUpdate_Click();
    EXPECT_EQ(wizard.form().StartRPMVal, 2000);
    EXPECT_EQ(wizard.box("txtStartRPMVal")->text(), QStringLiteral("2000"));
    EXPECT_EQ(w.grid2D()->cellText(1, 5), QStringLiteral("13.0"));  // 2000 RPM still at the start advance

    QTest::mouseClick(wizard.findChild<QPushButton *>(QStringLiteral("cmdOK")), Qt::LeftButton);
    EXPECT_EQ(wizard.result(), QDialog::Accepted);
    EXPECT_TRUE(w.isTableOpen());
}

}  // namespace
}  // namespace tunara::test
