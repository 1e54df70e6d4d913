// The two dialogs as the user meets them: controls by name, slider keys,
// clicks, and the field checks run by the focus leaving a field.
#include "app/scripted_ui.h"
#include "held_document.h"
#include "dialogs/gpio_params_dialog.h"
#include "dialogs/mod_params_dialog.h"
#include "dialogs/screen_placement.h"
#include "tables/table_codec.h"

#include <QApplication>
#include <QCheckBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>
#include <QTest>

#include <gtest/gtest.h>

namespace tunara::test {
namespace {

template <typename T>
T *child(QWidget &dialog, const char *name)
{
    T *found = dialog.findChild<T *>(QLatin1String(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

void showActive(QDialog &dialog)
{
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
}

TEST(ModParamsDialog, NoToTheTriggerTimingQuestionKeepsTheDialogOpenWithNothingApplied)
{
    HeldDocument held;
    ModuleData &data = held.data;
    data.params.TrigTiming = 34;
    data.params.TimingTable3D = true;
    data.image.DataBufferEmpty = false;
    data.tables.table3D(2, 2) = 33;
    ScriptedUserInterface ui;
    ui.answers = {ui::Answer::No, ui::Answer::Yes};
    dialogs::frmModParams dialog(held.ready(), nullptr, &ui);
    dialog.form().sldTrigTiming_Change(10);
    dialog.cmdOK_Click();
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0].buttons, ui::Buttons::YesNo);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(data.params.TrigTiming, 34);
    EXPECT_EQ(data.tables.table3D(2, 2), 33);
    dialog.cmdOK_Click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(data.tables.table3D(2, 2), 30);
}

TEST(ModParamsDialog, AnUnchangedTriggerAsksToLimitTheCellsOutsideItsWindowAndEnterNeverTrapsTheDialog)
{
    HeldDocument held;
    ModuleData &data = held.data;
    data.params.TrigTiming = 30;
    data.params.TimingTable3D = true;
    data.image.DataBufferEmpty = false;
    decodeTables(data.image, 30, data.tables);  // all at 30 but three cells
    const double below = 30 - 255 * DegreesPerStep;  // a byte 255: below 8..30
    for (int p = 1; p <= 3; ++p)
        data.tables.table3D(p, 1) = below;
    encodeTable3D(data.tables.table3D, 30, data.image);
    ScriptedUserInterface ui;
    ui.answers = {ui::Answer::No, ui::Answer::Yes};
    for (const double expected : {below, 8.0}) {  // No leaves the cells, Yes limits them
        dialogs::frmModParams dialog(held.ready(), nullptr, &ui);
        dialog.cmdOK_Click();
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(ui.messages().back().text,
                  QStringLiteral("3 cells of the 3D map lie outside 8..30 degrees. Limit them to the window?"));
        EXPECT_EQ(data.tables.table3D(3, 1), expected);
        TimingTables stored;  // what a save or an upload would send: its nearest byte
        decodeTables(data.image, 30, stored);
        EXPECT_GE(stored.table3D(3, 1), expected);
        EXPECT_LT(stored.table3D(3, 1), expected + DegreesPerStep);
    }
    // No to a new trigger timing: Enter asks no more until the timing moves.
    ui.answers = {ui::Answer::No, ui::Answer::Yes};
    dialogs::frmModParams dialog(held.ready(), nullptr, &ui);
    showActive(dialog);
    auto *trig = child<QSlider>(dialog, "sldTrigTiming");
    trig->setFocus();
    QTest::keyClick(trig, Qt::Key_PageDown);  // 25
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(trig, Qt::Key_Return);
    EXPECT_EQ(ui.messages().size(), 3u);
    EXPECT_EQ(QApplication::focusWidget(), trig);
    QTest::keyClick(trig, Qt::Key_Down);  // 24
    QTest::keyClick(trig, Qt::Key_Return);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(data.params.TrigTiming, 24);
}

TEST(ParameterDialogs, OptionsOutsideTheirChoicesShowTheModulesReadingAndKeepTheByte)
{
    HeldDocument held;
    ModuleParameters &p = held.data.params;
    p.TimingTable3D = true;
    p.MAPSensor = 5;
    p.GPIO2Mode = 0x01;
    ScriptedUserInterface ui;
    dialogs::frmModParams modParams(held.ready());
    dialogs::frmGPIOParams gpio(held.ready(), ui);
    EXPECT_TRUE(child<QRadioButton>(modParams, "optMAP1Bar")->isChecked());
    EXPECT_TRUE(child<QRadioButton>(gpio, "optGPIO2DataLog")->isChecked());
    EXPECT_EQ(p.MAPSensor, 5);
    EXPECT_EQ(p.GPIO2Mode, 0x01);
}

// The test's screen is 800 x 600: the dialog still holds its whole layout
// (no slider frame squeezed into the next) and room for its caption.
TEST(ModParamsDialog, HoldsItsWholeLayoutAndCaptionOnASmallScreen)
{
    HeldDocument held;
    ScriptedUserInterface ui;
    dialogs::frmModParams dialog(held.ready(), nullptr, &ui);
    EXPECT_GE(dialog.width(), dialog.layout()->minimumSize().width());
    QFont bold = QApplication::font();
    bold.setBold(true);
    EXPECT_GT(dialog.width(), QFontMetrics(bold).horizontalAdvance(dialog.windowTitle()));
}

TEST(ModParamsDialog, SlidersMoveUpToRaiseTheirValues)
{
    HeldDocument held;
    held.data.params.TrigTiming = 20;
    dialogs::frmModParams dialog(held.ready());
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Tunara Torvik Zoruro - Edit Module Parameters"));
    showActive(dialog);

    auto *trig = child<QSlider>(dialog, "sldTrigTiming");
    auto *label = child<QLabel>(dialog, "lblTrigTimingVal");
    ASSERT_TRUE(trig && label);
    trig->setFocus();
    QTest::keyClick(trig, Qt::Key_Up);
    EXPECT_EQ(dialog.form().state.DialogTrigTiming, 21);
    QTest::keyClick(trig, Qt::Key_PageUp);
    EXPECT_EQ(label->text(), QStringLiteral("26"));
    // Home: the lowest value, the bottom end (position 40); End: the top.
    QTest::keyClick(trig, Qt::Key_Home);
    EXPECT_EQ(dialog.form().state.DialogTrigTiming, 0);
    QTest::keyClick(trig, Qt::Key_End);
    EXPECT_EQ(dialog.form().state.DialogTrigTiming, 40);
    dialog.reject();
}

TEST(ModParamsDialog, ClicksShowAndHideTheFrames)
{
    HeldDocument held;
    ModuleData &data = held.data;
    dialogs::frmModParams dialog(held.ready());
    showActive(dialog);
    auto *map = child<QGroupBox>(dialog, "fraMAPSensor");
    auto *trig = child<QGroupBox>(dialog, "fraTrigTiming");
    EXPECT_FALSE(map->isVisible());
    EXPECT_FALSE(trig->isVisible());

    QTest::mouseClick(child<QRadioButton>(dialog, "opt3DTimingTable"), Qt::LeftButton);
    EXPECT_TRUE(data.params.TimingTable3D);
    EXPECT_TRUE(map->isVisible());

    QTest::mouseClick(child<QCheckBox>(dialog, "chkFixedMaxRPMLimit"), Qt::LeftButton);
    EXPECT_TRUE(child<QGroupBox>(dialog, "fraMaxRPMLimit")->isVisible());

    // The close box keeps these changes but not the trigger timing.
    dialog.form().sldTrigTiming_Change(35);
    dialog.reject();
    EXPECT_EQ(data.params.TrigTiming, 30);
    EXPECT_TRUE(data.params.FixedMaxRPMLimit);
}

class GpioDialogTest : public ::testing::Test {
protected:
    void open()
    {
        dialog = std::make_unique<dialogs::frmGPIOParams>(held.ready(), ui);
        showActive(*dialog);
    }
    QLineEdit *field(const char *name) { return child<QLineEdit>(*dialog, name); }
    // Types into a field (replacing its text) with the focus in it.
    void type(QLineEdit *edit, const QString &text)
    {
        edit->setFocus(Qt::TabFocusReason);
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }
    HeldDocument held;
    ModuleParameters &params = held.data.params;
    ScriptedUserInterface ui;
    std::unique_ptr<dialogs::frmGPIOParams> dialog;
};

TEST_F(GpioDialogTest, LaidOutInTheBoldSystemFont)
{
    params.GPIO2Mode = 0x05;
    open();
    EXPECT_EQ(dialog->windowTitle(),
              QStringLiteral("Tunara Torvik Zoruro  - Edit Idle Stabilization and GPIO Parameters"));
    EXPECT_TRUE(dialog->font().bold());
    // At least the design's client area, and the labels clear of the fields.
    EXPECT_GE(dialog->width(), dialogs::twipsToPixelsFor(*dialog, 8520));
    EXPECT_GE(dialog->height(), dialogs::twipsToPixelsFor(*dialog, 3804));
    auto *label = child<QLabel>(*dialog, "lblIdleStabTrigStartNum");
    EXPECT_LT(label->geometry().right(), field("txtIdleStabTrigStartNum")->geometry().left());
    // Mode 5 is neither function: the speeds locked until one is chosen.
    EXPECT_FALSE(field("txtGPIO2MinRPM")->isEnabled());
    QTest::mouseClick(child<QRadioButton>(*dialog, "optGPIO2RPMSwitch"), Qt::LeftButton);
    EXPECT_EQ(params.GPIO2Mode, 0x03);
    EXPECT_TRUE(field("txtGPIO2MinRPM")->isEnabled());
}

TEST_F(GpioDialogTest, LeavingAFieldChecksIt)
{
    open();
    type(field("txtMinIdleRPM"), QStringLiteral("1025"));
    EXPECT_EQ(params.MinIdleRPM, 500);  // not before the field is left
    QTest::keyClick(field("txtMinIdleRPM"), Qt::Key_Tab);
    EXPECT_EQ(field("txtMinIdleRPM")->text(), QStringLiteral("1000"));

    ui.answers.push_back(ui::Answer::OK);
    type(field("txtIdleStabTrigStartNum"), QStringLiteral("7"));
    QTest::mouseClick(child<QCheckBox>(*dialog, "chkIdleStabEnable"), Qt::LeftButton);
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages().front().text, QStringLiteral("Value must be greater than or equal to 10"));
    EXPECT_EQ(field("txtIdleStabTrigStartNum")->text(), QStringLiteral("10"));
    EXPECT_TRUE(params.IdleStabEnable);
}

// Enter (OK) checking the field being edited is driven in the window's round trip.
TEST_F(GpioDialogTest, CloseDoesNotCheckOrKeepTheFieldBeingEdited)
{
    open();
    type(field("txtIdleStabAdv"), QStringLiteral("5"));
    QTest::keyClick(field("txtIdleStabAdv"), Qt::Key_Escape);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(params.IdleStabAdv, 0);
    EXPECT_TRUE(ui.calls.empty());
}

TEST(ScreenPlacement, CentredAndWholeOnTheUsableArea)
{
    EXPECT_EQ(dialogs::centredWithin(QRect(0, 0, 1280, 800), QSize(400, 300)), QRect(440, 250, 400, 300));
    // A second screen to the right, with a panel at its top.
    EXPECT_EQ(dialogs::centredWithin(QRect(1920, 30, 1600, 870), QSize(600, 400)), QRect(2420, 265, 600, 400));
    // Larger than the area: its top-left corner stays on the area.
    EXPECT_EQ(dialogs::centredWithin(QRect(0, 0, 800, 600), QSize(1000, 700)).topLeft(), QPoint(0, 0));
}

}  // namespace
}  // namespace tunara::test
