// The module parameters dialog's behaviour, driven through its form: the
// opening sequence, the immediate handlers, the table modes and OK.
#include "dialogs/mod_params_form.h"
#include "held_document.h"
#include "tables/table_axes.h"
#include "tables/table_codec.h"

#include <gtest/gtest.h>

namespace tunara::test {
namespace {

using dialogs::ModParamsForm;
using dialogs::TableModeOption;

class ModParamsFormTest : public ::testing::Test {
protected:
    ModParamsForm &open()
    {
        form = std::make_unique<ModParamsForm>(held.ready());
        QObject::connect(&held.document, &ModuleDocument::tableModeChanged, [this] { ++modeChanges; });
        form->Form_Load();
        return *form;
    }
    // The advances a save or an upload carries, read back from the image,
    // against the arrays the editor shows.
    TimingTables expectStoredAsShown(int trigTiming)
    {
        TimingTables stored;
        decodeTables(data.image, trigTiming, stored);
        for (int p = 1; p <= SpeedPoints; ++p) {
            EXPECT_NEAR(stored.table2D(p, 1), data.tables.table2D(p, 1), DegreesPerStep / 2) << p;
            for (int m = 1; m <= PressureRows; ++m)
                EXPECT_NEAR(stored.table3D(p, m), data.tables.table3D(p, m), DegreesPerStep / 2) << p << "," << m;
        }
        return stored;
    }
    HeldDocument held;
    ModuleData &data = held.data;
    int modeChanges = 0;
    std::unique_ptr<ModParamsForm> form;
};

TEST_F(ModParamsFormTest, OpeningShowsTheParametersAndChangesOnlyTheUnfixedRPMLimit)
{
    ModuleParameters &p = data.params;
    p.TrigTiming = 25;
    p.CrankPulses = 4;
    p.RPMLimitEnable = false;
    p.TimingEnable = false;
    p.TimingTable2D = true;
    p.MAPSensor = 2;
    p.MaxRPMLimit = 7500;
    p.RetardComp = 30;
    p.HighSpeedDataLog = true;
    ModuleParameters expected = p;
    expected.MaxRPMLimit = 3000;  // no fixed limit: the module works from 3000

    const auto &s = open().state;
    EXPECT_EQ(p, expected);
    EXPECT_TRUE(s.chkRPMLimitDisable && s.chkTimingDisable && !s.chkMultiSparkDisable && s.chkHighSpeedDataLog);
    EXPECT_EQ(s.tableMode, TableModeOption::Table2D);
    EXPECT_EQ(s.mapSensorOption, 2);
    EXPECT_FALSE(s.fraMaxRPMLimitVisible);
    EXPECT_EQ(s.sldMaxRPMLimit, 109);
    EXPECT_EQ(s.lblCrankPulsesVal, QStringLiteral("4"));
    EXPECT_EQ(s.lblRetardCompVal, QStringLiteral("2.5"));
    EXPECT_FALSE(s.chkStartRtd);
    EXPECT_EQ(s.DialogTrigTiming, 25);
    EXPECT_EQ(s.lblTrigTimingVal, QStringLiteral("25"));
    EXPECT_EQ(modeChanges, 0);  // showing the loaded mode changes nothing
}

TEST_F(ModParamsFormTest, OpeningKeepsValuesTheSlidersCannotShow)
{
    ModuleParameters &p = data.params;
    p.TimingTable3D = true;
    p.FixedMaxRPMLimit = true;
    p.MaxRPMLimit = 10900;
    p.RetardComp = 200;
    p.StartRetard = 250;
    p.MAPSensor = 7;
    const ModuleParameters before = p;

    const auto &s = open().state;
    EXPECT_EQ(p, before);
    EXPECT_EQ(s.tableMode, TableModeOption::Table3D);
    EXPECT_TRUE(s.fraMAPSensorVisible);
    EXPECT_EQ(s.mapSensorOption, 0);  // 7 shows "1 bar", as the module reads it, and is kept
    EXPECT_EQ(s.sldMaxRPMLimit, 30);
    EXPECT_EQ(s.lblMaxRPMLimitVal, QStringLiteral("10900"));
    // Thumbs at the top end, labels with the real values.
    EXPECT_EQ(s.sldRetardComp, 0);
    EXPECT_EQ(s.lblRetardCompVal, QStringLiteral("17.5"));
    EXPECT_TRUE(s.chkStartRtd);
    EXPECT_EQ(s.sldStartRetard, 0);
    EXPECT_EQ(s.lblStartRtdVal, QStringLiteral("22"));
}

TEST_F(ModParamsFormTest, HandlersWriteTheirParametersFramesAndMenusAtOnce)
{
    open();
    ModuleParameters &p = data.params;
    const auto &s = form->state;

    form->chkRPMLimitDisable_Click(true);
    form->chkMultiSparkDisable_Click(true);
    form->chkTimingDisable_Click(true);
    EXPECT_FALSE(p.RPMLimitEnable || p.MultiSparkEnable || p.TimingEnable);

    form->sldCrankPulses_Change(0);
    EXPECT_EQ(p.CrankPulses, 12);
    form->sldRetardComp_Change(4);
    EXPECT_EQ(p.RetardComp, 34);
    EXPECT_EQ(s.lblRetardCompVal, QStringLiteral("3.0"));

    // The trigger timing waits for OK.
    form->sldTrigTiming_Change(30);
    EXPECT_EQ(s.DialogTrigTiming, 10);
    EXPECT_EQ(p.TrigTiming, 30);

    form->chkFixedMaxRPMLimit_Click(true);
    form->sldMaxRPMLimit_Change(60);
    EXPECT_EQ(p.MaxRPMLimit, 7900);
    // The slider stops at 3000, the lowest limit the module keeps.
    form->sldMaxRPMLimit_Change(119);
    EXPECT_EQ(s.sldMaxRPMLimit, 109);
    EXPECT_EQ(p.MaxRPMLimit, 3000);
    form->sldMaxRPMLimit_Change(60);
    // Unchecking sets 3000 whatever the slider showed; checking again shows it.
    form->chkFixedMaxRPMLimit_Click(false);
    EXPECT_EQ(p.MaxRPMLimit, 3000);
    EXPECT_FALSE(s.fraMaxRPMLimitVisible);
    form->chkFixedMaxRPMLimit_Click(true);
    EXPECT_EQ(s.sldMaxRPMLimit, 109);
    EXPECT_EQ(s.lblMaxRPMLimitVal, QStringLiteral("3000"));

    // Start retard: checking shows the frame at 0; unchecking clears it.
    form->chkStartRtd_Click(true);
    form->sldStartRetard_Change(2);
    EXPECT_EQ(p.StartRetard, 91);
    EXPECT_EQ(s.lblStartRtdVal, QStringLiteral("8"));
    form->chkStartRtd_Click(false);
    EXPECT_EQ(p.StartRetard, 0);
    EXPECT_FALSE(s.fraStartRtdVisible);
    EXPECT_EQ(s.lblStartRtdVal, QStringLiteral("0"));

    // Table modes: the flags, the frames and the table menus.
    form->opt3DTimingTable_Click();
    EXPECT_TRUE(p.TimingTable3D);
    EXPECT_TRUE(s.fraTrigTimingVisible && s.fraMAPSensorVisible);
    form->opt2DTimingTable_Click();
    EXPECT_TRUE(p.TimingTable2D);
    EXPECT_TRUE(s.fraTrigTimingVisible);
    EXPECT_FALSE(s.fraMAPSensorVisible);
    form->optDisableTimingTable_Click();
    EXPECT_FALSE(p.TimingTable2D || p.TimingTable3D);
    EXPECT_EQ(modeChanges, 3);  // each choice
    form->optMAP_Click(2);
    EXPECT_EQ(p.MAPSensor, 2);
    form->optMAP_Click(3);  // no such option: nothing changes
    EXPECT_EQ(p.MAPSensor, 2);
}

TEST_F(ModParamsFormTest, OKClampsBothTablesAppliesTheTriggerAndMarksData)
{
    open();
    data.tables.table2D(1, 1) = 15;
    data.tables.table2D(2, 1) = 4;
    data.tables.table3D(1, 1) = -3;
    data.tables.table3D(5, 8) = 9.5;
    // With the table off the trigger timing still applies, unchanged or not.
    form->optDisableTimingTable_Click();
    form->sldTrigTiming_Change(30);
    EXPECT_TRUE(data.image.DataBufferEmpty);
    form->cmdOK_Click();
    EXPECT_EQ(data.params.TrigTiming, 10);
    EXPECT_FALSE(data.image.DataBufferEmpty);
    EXPECT_EQ(data.tables.table2D(1, 1), 10);
    EXPECT_EQ(data.tables.table2D(21, 2), 10);
    EXPECT_EQ(data.tables.table3D(1, 1), 0);
    EXPECT_EQ(data.tables.table3D(5, 8), 9.5);
}

TEST_F(ModParamsFormTest, OKAsksFirstWhenTheNewTriggerLimitsCells)
{
    data.image.DataBufferEmpty = false;
    data.params.TrigTiming = 34;
    for (int p = 1; p <= SpeedPoints; ++p) {
        data.tables.table2D(p, 1) = 20;
        for (int m = 1; m <= PressureRows; ++m)
            data.tables.table3D(p, m) = 20;
    }
    data.tables.table3D(4, 2) = 31;
    data.tables.table3D(9, 7) = 30.01;
    data.tables.table2D(3, 1) = 33;
    data.params.TimingTable3D = true;
    open();
    form->sldTrigTiming_Change(10);  // 30 degrees: three cells above it
    EXPECT_EQ(form->cellsLimitedByOK().map3D, 2);
    // Only the table in use is counted: the 3D map, then the 2D curve.
    EXPECT_EQ(form->trigTimingQuestion(),
              QStringLiteral("2 cells of the 3D map will be limited to 8..30 degrees. Apply the new trigger timing?"));
    form->opt2DTimingTable_Click();
    EXPECT_EQ(form->limitedCellsInUse(), 1);
    form->sldTrigTiming_Change(6);  // 34: nothing moves, nothing is asked
    EXPECT_TRUE(form->trigTimingQuestion().isEmpty());
}

// Under an unchanged trigger timing only the table in use is asked about and
// limited: a 3D file's unused curve keeps its byte 255.
TEST_F(ModParamsFormTest, AnUnchangedTriggerLimitsOnlyTheTableInUse)
{
    data.image.DataBufferEmpty = false;
    data.params.TimingTable3D = true;
    data.params.TrigTiming = 30;
    data.image.EEPROMBuffer[axes::image2DIndex(4)] = 255;     // 7.6: below 8..30
    data.image.EEPROMBuffer[axes::image3DIndex(2, 3)] = 255;  // likewise
    decodeTables(data.image, 30, data.tables);
    open();
    EXPECT_EQ(form->trigTimingQuestion(),
              QStringLiteral("1 cell of the 3D map lies outside 8..30 degrees. Limit it to the window?"));
    form->cmdOK_Click(true);
    EXPECT_EQ(data.image.EEPROMBuffer[axes::image2DIndex(4)], 255);
    EXPECT_EQ(data.image.EEPROMBuffer[axes::image3DIndex(2, 3)], 250);  // 22.0 degrees below 30
    EXPECT_EQ(data.tables.table3D(2, 3), 8);
}

// A new trigger timing moves the stored tables with the working arrays: the
// advance the editor shows after OK is the one a save or an upload carries.
TEST_F(ModParamsFormTest, OKWithANewTriggerKeepsTheStoredAdvancesInStepWithTheTables)
{
    data.params.TimingTable2D = true;
    data.image.DataBufferEmpty = false;
    data.image.EEPROMBuffer[axes::image2DIndex(5)] = 91;     // 22.0 degrees
    data.image.EEPROMBuffer[axes::image2DIndex(1)] = 228;    // 10.0 degrees
    data.image.EEPROMBuffer[axes::image3DIndex(3, 2)] = 51;  // 25.5 degrees
    decodeTables(data.image, 30, data.tables);
    open();
    form->sldTrigTiming_Change(15);  // 25 degrees
    form->cmdOK_Click();
    const TimingTables stored = expectStoredAsShown(25);
    EXPECT_NEAR(stored.table2D(5, 1), 22.0, DegreesPerStep / 2);
    EXPECT_NEAR(stored.table3D(3, 2), 25.0, DegreesPerStep / 2);  // limited to the new trigger

    // An unchanged trigger leaves every stored byte as it was.
    const auto before = data.image.EEPROMBuffer;
    open();
    form->cmdOK_Click();
    EXPECT_EQ(data.image.EEPROMBuffer, before);
}

// On an empty image the all-zero regions would mean every point at the
// trigger timing, while the editor shows the arrays clamped to the window's
// floor: OK stores the arrays the editor will show.
TEST_F(ModParamsFormTest, OKOnAnEmptyImageStoresTheTablesTheEditorWillShow)
{
    data.image.ClearEEPROMBuffer();
    data.tables = TimingTables{};
    open();
    form->opt2DTimingTable_Click();
    form->cmdOK_Click();
    EXPECT_EQ(data.tables.table2D(1, 1), 8.0);
    EXPECT_EQ(data.image.EEPROMBuffer[axes::image2DIndex(1)], 250);     // 22 degrees of retard
    EXPECT_EQ(data.image.EEPROMBuffer[axes::image3DIndex(21, 8)], 250);
    expectStoredAsShown(30);
}

}  // namespace
}  // namespace tunara::test
