// Edit > the two parameter dialogs, from the window: the close step before
// them, the table menus following the mode, and a whole round trip from
// the image through both dialogs back into the image.
#include "app/app_fixture.h"
#include "views/chart_2d_view.h"
#include "app/commands/parameter_commands.h"
#include "dialogs/gpio_params_dialog.h"
#include "dialogs/mod_params_dialog.h"
#include "module/parameter_codec.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTest>

#include <map>

namespace tunara::test {
namespace {

void showActive(QDialog &dialog)
{
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
}

void click(QDialog &dialog, const char *name)
{
    auto *button = dialog.findChild<QAbstractButton *>(QLatin1String(name));
    ASSERT_NE(button, nullptr) << name;
    QTest::mouseClick(button, Qt::LeftButton);
}

void keys(QDialog &dialog, const char *slider, Qt::Key key, int times)
{
    auto *s = dialog.findChild<QSlider *>(QLatin1String(slider));
    ASSERT_NE(s, nullptr) << slider;
    s->setFocus();
    for (int i = 0; i < times; ++i)
        QTest::keyClick(s, key);
}

void typeAndLeave(QDialog &dialog, const char *field, const char *text, Qt::Key leaveBy = Qt::Key_Tab)
{
    auto *edit = dialog.findChild<QLineEdit *>(QLatin1String(field));
    ASSERT_NE(edit, nullptr) << field;
    edit->setFocus(Qt::TabFocusReason);
    edit->selectAll();
    QTest::keyClicks(edit, QString::fromLatin1(text));
    QTest::keyClick(edit, leaveBy);
}

class ParameterDialogs : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        installAll();
    }
    int modalCount() const
    {
        int n = 0;
        for (const UiCall &c : ui.calls)
            n += c.kind == UiCall::Kind::Modal;
        return n;
    }
};

TEST_F(ParameterDialogs, EditCommandsOpenTheirDialogsModallyOnceAnOpenTableIsClosed)
{
    ui::frmTunara_Main &w = loadWindow();
    choose(actions().editModParams);
    choose(actions().editGPIOParams);
    ASSERT_EQ(ui.calls.size(), 2u);
    EXPECT_EQ(ui.calls[0].kind, UiCall::Kind::Modal);
    EXPECT_EQ(ui.calls[0].text, QStringLiteral("frmModParams"));
    EXPECT_EQ(ui.calls[1].text, QStringLiteral("frmGPIOParams"));
    // Another command can run it as a plain procedure.
    w.parameterCommands().mnuEditModParams_Click();
    EXPECT_EQ(modalCount(), 3);

    // An open table is closed first; a cancelled close keeps the dialogs shut.
    data.params.TimingTable2D = true;
    data.image.DataBufferEmpty = false;
    w.applyTableMenuRule();
    choose(actions().editTimingTable);
    ASSERT_TRUE(w.isTableOpen());
    const auto closeQuestions = [this] {
        int n = 0;
        for (const UiCall &m : ui.messages())
            n += m.text == QStringLiteral("Save table edits to buffer before closing?");
        return n;
    };
    ui.answers = {ui::Answer::Cancel, ui::Answer::Cancel};
    choose(actions().editModParams);
    choose(actions().editGPIOParams);
    EXPECT_EQ(closeQuestions(), 2);
    EXPECT_TRUE(w.isTableOpen());
    EXPECT_EQ(modalCount(), 3);

    ui.answers = {ui::Answer::No};
    choose(actions().editGPIOParams);
    EXPECT_FALSE(w.isTableOpen());
    EXPECT_EQ(modalCount(), 4);
}

TEST_F(ParameterDialogs, TableMenusFollowTheModeChosenInTheDialog)
{
    loadWindow();
    std::vector<bool> editAllowed;
    ui.onModal = [&](QDialog &dialog) {
        showActive(dialog);
        click(dialog, "opt2DTimingTable");
        editAllowed.push_back(actions().editTimingTable->isEnabled());
        click(dialog, "optDisableTimingTable");
        editAllowed.push_back(actions().closeTbl->isEnabled());
        click(dialog, "opt3DTimingTable");
        editAllowed.push_back(actions().saveTbl->isEnabled());
        dialog.reject();  // the close box keeps the mode
        return int(QDialog::Rejected);
    };
    choose(actions().editModParams);
    EXPECT_EQ(editAllowed, (std::vector<bool>{true, false, true}));
    EXPECT_TRUE(data.params.TimingTable3D);
    EXPECT_TRUE(actions().editTimingTable->isEnabled());
}

TEST_F(ParameterDialogs, ValuesSurviveTheDialogsTheEncodeAndTheDecode)
{
    loadWindow();
    auto &b = data.image.EEPROMBuffer;
    b[48] = 30, b[49] = 2, b[50] = 0x1C, b[51] = 30, b[72] = 0x10, b[76] = 60, b[77] = 120, b[97] = 50, b[98] = 10;
    for (int i = 16; i <= 36; ++i)
        b[i] = 100;  // 8.79 degrees of retard: advance 21.21
    UpdateParams(data);

    ui.onModal = [&](QDialog &dialog) {
        showActive(dialog);
        if (dialog.objectName() == QStringLiteral("frmModParams")) {
            click(dialog, "opt3DTimingTable");
            click(dialog, "optMAP3Bar");
            click(dialog, "chkFixedMaxRPMLimit");
            keys(dialog, "sldMaxRPMLimit", Qt::Key_PageUp, 2);  // 3000 -> 5000
            click(dialog, "chkMultiSparkDisable");
            keys(dialog, "sldCrankPulses", Qt::Key_Up, 3);      // 2 -> 5
            keys(dialog, "sldRetardComp", Qt::Key_Up, 1);       // half a degree: 6 units
            click(dialog, "chkStartRtd");
            keys(dialog, "sldStartRetard", Qt::Key_Up, 2);      // 2 degrees: 23 units
            click(dialog, "chkHighSpeedDataLog");
            keys(dialog, "sldTrigTiming", Qt::Key_PageDown, 2);  // 30 -> 20
            click(dialog, "cmdOK");
        } else {
            click(dialog, "chkIdleStabEnable");
            typeAndLeave(dialog, "txtIdleStabTrigStartNum", "75");
            typeAndLeave(dialog, "txtMinIdleRPM", "1025");
            typeAndLeave(dialog, "txtIdleStabAdv", "12");
            click(dialog, "optGPIO2RPMSwitch");
            typeAndLeave(dialog, "txtGPIO2MinRPM", "2525");
            typeAndLeave(dialog, "txtGPIO2MaxRPM", "9000", Qt::Key_Return);  // OK checks it first
        }
        return dialog.result();
    };
    choose(actions().editModParams);
    choose(actions().editGPIOParams);
    EXPECT_TRUE(ui.messages().empty());
    EXPECT_FALSE(data.image.DataBufferEmpty);
    EXPECT_EQ(data.tables.table2D(1, 1), 20);  // pulled into the new window
    EXPECT_EQ(data.tables.table3D(4, 4), 20);

    UpdateEEPROM(data);
    // 76: 2525 -> 2500 RPM (50.5 steps, to the even 50); 98: 1025 -> 1000 RPM; 99: 12 degrees.
    const std::map<int, int> expected = {{48, 20}, {49, 5}, {50, 0xB4}, {51, 50}, {52, 6}, {53, 23}, {54, 1},
                                         {55, 2},  {72, 0x13}, {76, 50}, {77, 180}, {96, 1}, {97, 75}, {98, 20}, {99, 137}};
    for (const auto &[index, value] : expected)
        EXPECT_EQ(b[index], value) << "byte " << index;

    ModuleData again;
    again.image = data.image;
    UpdateParams(again);
    EXPECT_EQ(again.params, data.params);
}

}  // namespace
}  // namespace tunara::test
