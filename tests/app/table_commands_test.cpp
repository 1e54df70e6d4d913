// The table commands: their messages, what they show, save and close.
#include "views/chart_2d_view.h"
#include "views/chart_3d_view.h"
#include "app/table_editor_fixture.h"
#include "views/timing_grid.h"
#include "tables/table_axes.h"
#include "tables/table_codec.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineSeries>

namespace tunara::test {
namespace {

using ui::Answer;
using ui::Buttons;
using ui::Icon;

class TableCommands : public TableEditorTest {};

using editor::storedValue;
constexpr editor::TableKind Curve = editor::TableKind::Curve2D;
constexpr editor::TableKind Map = editor::TableKind::Map3D;

void expectMessage(const UiCall &m, const char *text, const char *title, Buttons buttons, Icon icon)
{
    EXPECT_EQ(m.text, QString::fromUtf8(text));
    EXPECT_EQ(m.title, QString::fromUtf8(title));
    EXPECT_EQ(m.buttons, buttons);
    EXPECT_EQ(m.icon, icon);
}

TEST_F(TableCommands, CommandsWithoutAnOpenTableSayWhyAndShowNothing)
{
    ui::frmTunara_Main &w = shown();
    // Neither mode: New says the table is disabled.
    ui.answers = {Answer::OK};
    choose(actions().newTable);
    ASSERT_EQ(ui.messages().size(), 1u);
    expectMessage(ui.messages()[0], "Timing table disabled. Edit module parameters to enable timing table.",
                  "New Timing Table", Buttons::OK, Icon::Exclamation);

    chooseTable(true);
    ui.answers = {Answer::OK};
    choose(actions().saveTbl);
    ASSERT_EQ(ui.messages().size(), 2u);
    expectMessage(ui.messages()[1], "No active table to save", "Save Table Edits To Buffer", Buttons::OK,
                  Icon::Exclamation);
    // Close with nothing open asks nothing.
    choose(actions().closeTbl);
    EXPECT_EQ(ui.messages().size(), 2u);
    EXPECT_FALSE(w.isTableOpen());

    // An empty image offers the wizard; Cancel leaves everything hidden and
    // the clipboard emptied.
    data.image.DataBufferEmpty = true;
    QGuiApplication::clipboard()->setText(QStringLiteral("something"));
    w.clip().ClipText = QStringLiteral("1.0");
    ui.answers = {Answer::Cancel};
    choose(actions().editTimingTable);
    ASSERT_EQ(ui.messages().size(), 3u);
    expectMessage(ui.messages()[2], "Data buffer empty. Create new table?", "Edit Timing Table", Buttons::OKCancel,
                  Icon::None);
    EXPECT_FALSE(w.isTableOpen());
    EXPECT_TRUE(QGuiApplication::clipboard()->text().isEmpty());
    EXPECT_TRUE(w.clip().ClipText.isEmpty());
    // OK opens the wizard (modally).
    ui.answers = {Answer::OK};
    choose(actions().editTimingTable);
    EXPECT_EQ(ui.calls.back().kind, UiCall::Kind::Modal);
}

TEST_F(TableCommands, EditShowsTheWorkingArrayAndSaveWritesItIntoTheImage)
{
    ui::frmTunara_Main &w = shown();
    chooseTable(true, 30);
    data.image.EEPROMBuffer.fill(0xAA);
    openTable();
    EXPECT_EQ(w.grid2D()->cellText(1, 1), QStringLiteral("11.0"));
    // 31 lies above the trigger timing: it would be stored as no retard at
    // all, so the grid shows the 30.0 a save would keep.
    EXPECT_EQ(w.grid2D()->cellText(1, 21), QStringLiteral("30.0"));
    // The chart shows the same stored value as the grid.
    EXPECT_EQ(w.chart2D()->curveValue(5), storedValue(Curve, 30, 15));
    EXPECT_EQ(w.chart2D()->triggerSeries()->at(0).y(), 30.0);

    ASSERT_TRUE(model().enterText(0, 4, QStringLiteral("25")));
    EXPECT_EQ(w.grid2D()->cellText(1, 5), QStringLiteral("25.0"));
    w.clip().ClipText = QStringLiteral("x");
    actions().popUp2D.paste->setEnabled(true);
    choose(actions().saveTbl);
    EXPECT_TRUE(ui.messages().empty());
    EXPECT_FALSE(w.isTableOpen());
    EXPECT_TRUE(w.clip().ClipText.isEmpty());
    EXPECT_FALSE(actions().popUp2D.paste->isEnabled());
    // 25 degrees below a trigger timing of 30 is 57 steps, and the working
    // array takes back the advance they stand for; the other points as the
    // working array holds them; the 3D region is untouched.
    EXPECT_EQ(data.image.EEPROMBuffer[20], 57);
    EXPECT_EQ(data.tables.table2D(5, 1), storedValue(Curve, 30, 25));
    for (int p = 1; p <= SpeedPoints; ++p)
        EXPECT_EQ(data.image.EEPROMBuffer[axes::image2DIndex(p)], encodeAdvance(30, data.tables.table2D(p, 1)));
    EXPECT_EQ(data.image.EEPROMBuffer[15], 0xAA);
    EXPECT_EQ(data.image.EEPROMBuffer[112], 0xAA);
}

TEST_F(TableCommands, CloseAsksAndEachAnswerDoesWhatItSays)
{
    ui::frmTunara_Main &w = shown();
    chooseTable(true, 30);
    openTable();
    model().enterText(0, 0, QStringLiteral("20"));
    const auto image = data.image.EEPROMBuffer;

    ui.answers = {Answer::Cancel};
    choose(actions().closeTbl);
    ASSERT_EQ(ui.messages().size(), 1u);
    expectMessage(ui.messages()[0], "Save table edits to buffer before closing?", "Close Table", Buttons::YesNoCancel,
                  Icon::Exclamation);
    EXPECT_EQ(model().value(0, 0), storedValue(Curve, 30, 20));

    ui.answers = {Answer::No};
    choose(actions().closeTbl);
    EXPECT_FALSE(w.isTableOpen());
    EXPECT_EQ(data.tables.table2D(1, 1), 11.0);  // the edit is dropped
    EXPECT_EQ(data.image.EEPROMBuffer, image);

    // Edit again drops the edits without a question.
    openTable();
    model().enterText(0, 2, QStringLiteral("29"));
    openTable();
    EXPECT_EQ(ui.messages().size(), 2u);  // only the two closes asked
    EXPECT_EQ(w.grid2D()->cellText(1, 3), QStringLiteral("13.0"));
    EXPECT_FALSE(model().canUndo());
    model().enterText(0, 0, QStringLiteral("20"));
    ui.answers = {Answer::Yes};
    choose(actions().closeTbl);
    EXPECT_FALSE(w.isTableOpen());
    EXPECT_EQ(data.tables.table2D(1, 1), storedValue(Curve, 30, 20));
    EXPECT_EQ(data.image.EEPROMBuffer[16], encodeAdvance(30, 20.0));
}

TEST_F(TableCommands, MissingTemplatesStopTheCommandWithTheirMessage)
{
    ui::frmTunara_Main &w = shown();
    chooseTable(true);
    removeProgramFile(QStringLiteral("Torvik_2D_Timing_Chart.oc2"));
    ui.answers = {Answer::OK};
    openTable();
    ASSERT_EQ(ui.messages().size(), 1u);
    expectMessage(ui.messages()[0], "Chart template file Torvik_2D_Timing_Chart.oc2 not found.", "Edit Timing Table",
                  Buttons::OK, Icon::Critical);
    EXPECT_FALSE(w.isTableOpen());

    chooseTable(false);
    data.params.MAPSensor = 1;
    writeProgramFile(QStringLiteral("Torvik_3D_2Bar_Timing_Chart.oc3"), "{ not json");
    ui.answers = {Answer::OK};
    openTable();
    ASSERT_EQ(ui.messages().size(), 2u);
    EXPECT_TRUE(ui.messages()[1].text.startsWith(
        QStringLiteral("Chart template file Torvik_3D_2Bar_Timing_Chart.oc3 cannot be used: ")));
    EXPECT_EQ(ui.messages()[1].icon, Icon::Critical);
    EXPECT_FALSE(w.isTableOpen());
    // New stops there too: no wizard follows the message.
    ui.answers = {Answer::OK};
    choose(actions().newTable);
    EXPECT_EQ(ui.calls.back().kind, UiCall::Kind::Message);
    EXPECT_EQ(ui.messages().size(), 3u);
}

TEST_F(TableCommands, ThreeDTableOpensForItsSensorAndSavesIntoItsRegion)
{
    ui::frmTunara_Main &w = shown();
    chooseTable(false, 30);
    data.params.MAPSensor = 2;
    data.tables.table3D(1, 8) = 12.5;  // lowest pressure, 0 RPM: grid row 1, column 1
    data.image.EEPROMBuffer.fill(0xAA);
    openTable();
    EXPECT_FALSE(w.chart2D()->isVisible());
    EXPECT_EQ(w.grid3D()->cellText(8, 0), QStringLiteral("90"));  // the sensor's pressure headings
    EXPECT_EQ(w.grid3D()->cellText(1, 1), QStringLiteral("12.5"));

    ASSERT_TRUE(model().enterText(7, 20, QStringLiteral("9")));  // highest pressure, 10000 RPM
    EXPECT_EQ(w.chart3D()->surface()(21, 1), storedValue(Map, 30, 9));
    choose(actions().saveTbl);
    EXPECT_EQ(data.tables.table3D(21, 1), storedValue(Map, 30, 9));
    EXPECT_EQ(data.image.EEPROMBuffer[279], encodeAdvance(30, 9.0));
    EXPECT_EQ(data.image.EEPROMBuffer[112], encodeAdvance(30, 12.5));
    EXPECT_EQ(data.image.EEPROMBuffer[16], 0xAA);  // the 2D region is left alone
}

TEST_F(TableCommands, HidingTheViewsEndsTheHistoryAndSaveWritesTheTableOnScreenAfterAModeChange)
{
    ui::frmTunara_Main &w = shown();
    chooseTable(true, 30);
    data.image.EEPROMBuffer.fill(0xAA);
    openTable();
    model().enterText(0, 0, QStringLiteral("20"));
    w.session().discard();  // as a download or a file open does
    EXPECT_FALSE(model().isOpen());
    EXPECT_FALSE(w.findChild<QAction *>(QStringLiteral("mnuUndo"))->isEnabled());

    openTable();
    model().enterText(0, 0, QStringLiteral("20"));
    data.params.TimingTable2D = false;  // the mode options changed under the open view
    data.params.TimingTable3D = true;
    choose(actions().saveTbl);
    EXPECT_EQ(data.image.EEPROMBuffer[16], encodeAdvance(30, 20.0));
    EXPECT_EQ(data.image.EEPROMBuffer[112], 0xAA);
}

TEST_F(TableCommands, ExitWithYesSavesTheOpenTable)
{
    ui::frmTunara_Main &w = shown();
    chooseTable(true, 30);
    openTable();
    model().enterText(0, 0, QStringLiteral("20"));
    ui.answers = {Answer::Yes, Answer::Yes};  // save the table; leave the image unsaved to a file
    w.mnuExit_Click();
    ASSERT_EQ(ui.messages().size(), 2u);
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(data.image.EEPROMBuffer[16], encodeAdvance(30, 20.0));
}

}  // namespace
}  // namespace tunara::test
