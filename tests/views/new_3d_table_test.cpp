// The new 3D table wizard: its slider rules, its open-time question, and
// its hand-over of a flat map to the window's 3D views.
#include "app/app_fixture.h"
#include "views/chart_3d_view.h"
#include "app/commands/table_commands.h"
#include "views/timing_grid.h"
#include "dialogs/new_3d_table_dialog.h"
#include "editor/table_edit_model.h"

#include <QLabel>
#include <QPushButton>
#include <QSlider>

using namespace tunara;
using namespace tunara::wizards;
using tunara::ui::Answer;

namespace tunara::test {
namespace {

TEST(New3DTableForm, TheBaseTimingStaysWithin22DegreesBelowTheTriggerTimingAndNeverBelowZero)
{
    New3DTableForm f = New3DTableForm::opened(30);
    EXPECT_EQ(f.TrigTimingVal, 30);
    EXPECT_EQ(f.BaseTmgVal, 20);
    EXPECT_EQ(New3DTableForm::positionOf(f.BaseTmgVal), 20);
    EXPECT_EQ(New3DTableForm::opened(12).BaseTmgVal, 12);
    EXPECT_EQ(New3DTableForm::opened(0).BaseTmgVal, 0);
    EXPECT_EQ(New3DTableForm::opened(99).TrigTimingVal, 40);  // beyond the slider: its end

    f.moveTrigSlider(New3DTableForm::positionOf(15));
    EXPECT_EQ(f.BaseTmgVal, 15);
    f.moveTrigSlider(New3DTableForm::positionOf(40));
    EXPECT_EQ(f.BaseTmgVal, 18);
    f.moveTrigSlider(New3DTableForm::positionOf(36));
    EXPECT_EQ(f.BaseTmgVal, 18);  // inside the window: stays
    f.moveBaseSlider(New3DTableForm::positionOf(38));
    EXPECT_EQ(f.BaseTmgVal, 36);
    f.moveBaseSlider(New3DTableForm::positionOf(2));
    EXPECT_EQ(f.BaseTmgVal, 14);
    f.moveTrigSlider(New3DTableForm::positionOf(5));
    f.moveBaseSlider(New3DTableForm::positionOf(0));
    EXPECT_EQ(f.BaseTmgVal, 0);
    EXPECT_EQ(f.TrigTimingVal, 5);

    const Table3D flat = flatMap(18);
    for (int p = 1; p <= SpeedPoints; ++p)
        for (int m = 1; m <= PressureRows; ++m)
            ASSERT_EQ(flat(p, m), 18);
    EXPECT_EQ(baseInWindow(35, 30), 30);
    EXPECT_EQ(baseInWindow(2, 30), 8);
    EXPECT_EQ(baseInWindow(-3, 15), -3);
}

// The wizard in the window: the scripted user moves the sliders and
// presses the buttons while it is open.
class New3DWizard : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        installAll();
        loadWindow();
        data.params.TimingTable3D = true;
        data.params.TrigTiming = 30;
        data.params.MAPSensor = 1;
        window->applyTableMenuRule();
        ui.calls.clear();
    }
    // Runs New with the user's actions in the wizard.
    void runNew(const std::function<void(frmNew3DTable &)> &actions)
    {
        ui.onModal = [&](QDialog &dialog) {
            auto &wizard = dynamic_cast<frmNew3DTable &>(dialog);
            actions(wizard);
            return wizard.result();
        };
        window->tableCommands()->mnuNewTable_Click();
    }
    static void slide(frmNew3DTable &w, const char *name, int timing)
    {
        w.findChild<QSlider *>(QString::fromLatin1(name))->setValue(New3DTableForm::positionOf(timing));
    }
    static void press(frmNew3DTable &w, const char *name) { w.findChild<QPushButton *>(QString::fromLatin1(name))->click(); }
    static QString label(frmNew3DTable &w, const char *name) { return w.findChild<QLabel *>(QString::fromLatin1(name))->text(); }
    bool shown() { return window->chart3D()->isVisibleTo(window.get()) && window->grid3D()->isVisibleTo(window.get()); }
};

TEST_F(New3DWizard, UpdateShowsAFlatMapAndOkAlsoSetsTheTriggerTiming)
{
    runNew([&](frmNew3DTable &w) {
        EXPECT_EQ(w.windowTitle(), QStringLiteral("Tunara Torvik - New 3D Timing Table"));
        EXPECT_EQ(label(w, "lblBaseTmgVal"), QStringLiteral("20"));
        slide(w, "sldBaseTmg", 18);
        press(w, "cmdUpdate");
        EXPECT_TRUE(shown());
        EXPECT_EQ(window->grid3D()->cellText(4, 7), QStringLiteral("18.0"));
        EXPECT_EQ(data.params.TrigTiming, 30);
        slide(w, "sldTrigTiming", 36);
        press(w, "cmdOK");
    });
    EXPECT_EQ(data.params.TrigTiming, 36);
    EXPECT_EQ(data.tables.table3D, flatMap(18));
    EXPECT_TRUE(shown());
    EXPECT_EQ(window->tableCommands()->model().trigTiming(), 36);
    EXPECT_EQ(window->grid3D()->cellText(8, 21), QStringLiteral("18.0"));
    EXPECT_EQ(window->chart3D()->look().pressureLabels.first(), QStringLiteral("18"));  // the 2 bar labels
    EXPECT_TRUE(data.image.DataBufferEmpty);  // the image waits for a save
}

TEST_F(New3DWizard, TheCloseBoxAfterUpdateLeavesOnlyValuesTheTriggerTimingInForceCanStore)
{
    runNew([&](frmNew3DTable &w) {
        slide(w, "sldTrigTiming", 40);
        slide(w, "sldBaseTmg", 35);
        press(w, "cmdUpdate");
        // Shown for the slider's trigger timing while the wizard is open.
        EXPECT_EQ(window->grid3D()->cellText(1, 1), QStringLiteral("35.0"));
        EXPECT_EQ(window->tableCommands()->model().trigTiming(), 40);
        w.reject();
    });
    EXPECT_EQ(data.params.TrigTiming, 30);
    EXPECT_EQ(data.tables.table3D, flatMap(30));
    EXPECT_EQ(window->grid3D()->cellText(1, 1), QStringLiteral("30.0"));
    EXPECT_EQ(window->tableCommands()->model().trigTiming(), 30);
    // Closed without Update: no table on view.
    ui.answers = {Answer::No};
    window->tableCommands()->mnuCloseTbl_Click();
    runNew([&](frmNew3DTable &w) { w.reject(); });
    EXPECT_FALSE(shown());
}

TEST_F(New3DWizard, ATableOnViewIsOfferedForSavingBeforeTheWizardClearsIt)
{
    data.image.DataBufferEmpty = false;
    data.tables.table3D = flatMap(22);
    window->tableCommands()->mnuEditTimingTable_Click();
    ASSERT_TRUE(shown());
    window->tableCommands()->model().setValue(0, 0, 25, QStringLiteral("Drag"));

    ui.answers = {Answer::Cancel};
    runNew([&](frmNew3DTable &w) {
        EXPECT_TRUE(shown());  // Cancel: the table stays on view, with its edit
        EXPECT_EQ(window->tableCommands()->model().value(0, 0),
                  editor::storedValue(editor::TableKind::Map3D, 30, 25));
        press(w, "cmdOK");
    });
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0].text, QStringLiteral("Save timing table before closing file?"));
    EXPECT_EQ(data.tables.table3D, flatMap(20));
    EXPECT_EQ(data.params.TrigTiming, 30);

    window->tableCommands()->model().setValue(0, 0, 25, QStringLiteral("Drag"));
    ui.calls.clear();
    ui.answers = {Answer::Yes};
    runNew([&](frmNew3DTable &w) {
        EXPECT_FALSE(shown());
        w.reject();
    });
    // Yes saved the edit into the image before the view was cleared.
    EXPECT_EQ(data.image.EEPROMBuffer[112], 57);  // (30 - 25) / 0.0879 = 56.9
    EXPECT_EQ(data.image.EEPROMBuffer[113], 114);  // (30 - 20) / 0.0879 = 113.8
}

}  // namespace
}  // namespace tunara::test
