// The idle stabilisation and GPIO dialog's behaviour, driven through its
// form; every message goes through the scripted user.
#include "app/scripted_ui.h"
#include "dialogs/gpio_params_form.h"

#include <gtest/gtest.h>

namespace tunara::test {
namespace {

using dialogs::GpioField;
using dialogs::GpioOption;
using dialogs::GpioParamsForm;

class GpioParamsFormTest : public ::testing::Test {
protected:
    GpioParamsForm &open()
    {
        form = std::make_unique<GpioParamsForm>(params, ui);
        form->Form_Load();
        return *form;
    }
    // Types a text into a field and leaves it; returns the field's new text.
    QString enter(GpioField field, const QString &text)
    {
        form->state.text(field) = text;
        form->validate(field);
        return form->state.text(field);
    }
    void expectMessage(const QString &text, const QString &title)
    {
        ASSERT_EQ(ui.messages().size(), 1u) << text.toStdString();
        const UiCall m = ui.messages().front();
        EXPECT_EQ(m.text, text);
        EXPECT_EQ(m.title, title);
        EXPECT_EQ(m.buttons, ui::Buttons::OK);
        EXPECT_EQ(m.icon, ui::Icon::Exclamation);
        ui.calls.clear();
    }
    ModuleParameters params;
    ScriptedUserInterface ui;
    std::unique_ptr<GpioParamsForm> form;
};

TEST_F(GpioParamsFormTest, OpeningFillsTheFieldsAndChangesNothing)
{
    params.IdleStabEnable = true;
    params.IdleStabTrigStartNum = 7;
    params.MinIdleRPM = 850;
    params.IdleStabAdv = 114;
    params.GPIO2Mode = 0x13;
    const ModuleParameters before = params;
    const auto &s = open().state;
    EXPECT_EQ(params, before);
    EXPECT_TRUE(s.chkIdleStabEnable);
    EXPECT_EQ(s.txtIdleStabTrigStartNum, QStringLiteral("7"));
    EXPECT_EQ(s.txtMinIdleRPM, QStringLiteral("850"));
    EXPECT_EQ(s.txtIdleStabAdv, QStringLiteral("10"));
    EXPECT_EQ(s.gpioOption, GpioOption::RPMSwitch);
    EXPECT_TRUE(s.rpmFieldsEnabled);
    // The plain number form, a blank for the sign, until a field is checked.
    EXPECT_EQ(s.txtGPIO2MinRPM, QStringLiteral(" 3000"));
    EXPECT_EQ(s.txtGPIO2MaxRPM, QStringLiteral(" 6000"));
    EXPECT_EQ(enter(GpioField::GPIO2MinRPM, s.txtGPIO2MinRPM), QStringLiteral("3000"));
    EXPECT_TRUE(ui.calls.empty());
}

TEST_F(GpioParamsFormTest, OptionsKeepTheHighFourBitsOfTheMode)
{
    params.GPIO2Mode = 0x13;
    open();
    form->optGPIO2DataLog_Click();
    EXPECT_EQ(params.GPIO2Mode, 0x10);
    EXPECT_FALSE(form->state.rpmFieldsEnabled);
    form->optGPIO2RPMSwitch_Click();
    EXPECT_EQ(params.GPIO2Mode, 0x13);
    EXPECT_TRUE(form->state.rpmFieldsEnabled);

    // A function the dialog does not offer: no option, fields off, kept.
    params.GPIO2Mode = 0xA5;
    open();
    EXPECT_EQ(form->state.gpioOption, GpioOption::None);
    EXPECT_FALSE(form->state.rpmFieldsEnabled);
    EXPECT_EQ(params.GPIO2Mode, 0xA5);
    form->optGPIO2DataLog_Click();
    EXPECT_EQ(params.GPIO2Mode, 0xA0);

    form->chkIdleStabEnable_Click(true);
    EXPECT_TRUE(params.IdleStabEnable);
}

TEST_F(GpioParamsFormTest, FieldsStoreInTheirStepsRoundingHalvesToEven)
{
    open();
    EXPECT_EQ(enter(GpioField::MinIdleRPM, QStringLiteral("1025")), QStringLiteral("1000"));
    EXPECT_EQ(params.MinIdleRPM, 1000);
    EXPECT_EQ(enter(GpioField::MinIdleRPM, QStringLiteral("1075")), QStringLiteral("1100"));
    EXPECT_EQ(params.MinIdleRPM, 1100);
    EXPECT_EQ(enter(GpioField::IdleStabAdv, QStringLiteral("10")), QStringLiteral("10"));
    EXPECT_EQ(params.IdleStabAdv, 114);
    EXPECT_EQ(enter(GpioField::IdleStabTrigStartNum, QStringLiteral("  123abc")), QStringLiteral("123"));
    EXPECT_EQ(params.IdleStabTrigStartNum, 123);
    // The whole part is taken, then the step: 2999.9 -> 2999 -> 3000.
    EXPECT_EQ(enter(GpioField::GPIO2MinRPM, QStringLiteral("2999.9")), QStringLiteral("3000"));
    EXPECT_EQ(params.GPIO2MinRPM, 3000);
    EXPECT_TRUE(ui.calls.empty());
}

TEST_F(GpioParamsFormTest, OutOfRangeEntriesAreReportedAndBounded)
{
    open();
    struct Case {
        GpioField field;
        const char *typed;
        const char *message;
        const char *title;
        const char *shown;
    };
    const Case cases[] = {
        {GpioField::IdleStabTrigStartNum, "7", "Value must be greater than or equal to 10", "Trigger Pulses After Start", "10"},
        {GpioField::IdleStabTrigStartNum, "201", "Value must be less than or equal to 200", "Trigger Pulses After Start", "200"},
        {GpioField::IdleStabAdv, "25", "Value must be less than or equal to 20", "Idle Stabilization Advance", "20"},
        {GpioField::IdleStabAdv, "-0.5", "Value must be greater than or equal to zero", "Idle Stabilization Advance", "0"},
        {GpioField::MinIdleRPM, "abc", "Value must be greater than or equal to 500", "Minimum Idle RPM", "500"},
        {GpioField::MinIdleRPM, "2001", "Value must be less than or equal to 2000", "Minimum Idle RPM", "2000"},
        {GpioField::GPIO2MinRPM, "-1", "Value must be greater than or equal to zero", "Minimum RPM", "0"},
        {GpioField::GPIO2MinRPM, "99999999999999999999", "Value must be less than or equal to 10900", "Minimum RPM", "10900"},
        {GpioField::GPIO2MaxRPM, "", "Value must be greater than or equal to 1000", "Maximum RPM", "1000"},
        {GpioField::GPIO2MaxRPM, "11001", "Value must be less than or equal to 11000", "Maximum RPM", "11000"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.typed);
        ui.answers.push_back(ui::Answer::OK);
        EXPECT_EQ(enter(c.field, QString::fromUtf8(c.typed)), QString::fromUtf8(c.shown));
        expectMessage(QString::fromUtf8(c.message), QString::fromUtf8(c.title));
    }
    EXPECT_EQ(params.IdleStabTrigStartNum, 200);
    EXPECT_EQ(params.IdleStabAdv, 0);
    EXPECT_EQ(params.MinIdleRPM, 2000);
    EXPECT_EQ(params.GPIO2MaxRPM, 11000);
    // The advance bound is stored in its raw units: Round(20 / 0.0879).
    ui.answers.push_back(ui::Answer::OK);
    enter(GpioField::IdleStabAdv, QStringLiteral("25"));
    ui.calls.clear();
    EXPECT_EQ(params.IdleStabAdv, 228);
    // The exponent is not part of the number: "1e9" is 1 degree.
    enter(GpioField::IdleStabAdv, QStringLiteral("1e9"));
    EXPECT_TRUE(ui.calls.empty());
    EXPECT_EQ(params.IdleStabAdv, 11);
}

TEST_F(GpioParamsFormTest, EveryTypedTextEndsInRangeWithoutACrash)
{
    const QString texts[] = {QStringLiteral("-0"), QStringLiteral("1e9"), QStringLiteral("99999999999999999999"),
                             QStringLiteral(",5"), QString(), QString(300, u'7'), QString(400, u'9'),
                             u'-' + QString(400, u'9'), QStringLiteral("\u0663\u0664"), QStringLiteral("+15.99")};
    open();
    for (const QString &text : texts) {
        for (GpioField field : {GpioField::IdleStabTrigStartNum, GpioField::MinIdleRPM, GpioField::IdleStabAdv,
                                GpioField::GPIO2MinRPM, GpioField::GPIO2MaxRPM}) {
            ui.answers.assign(2, ui::Answer::OK);
            enter(field, text);
        }
        EXPECT_GE(params.IdleStabTrigStartNum, 10);
        EXPECT_LE(params.IdleStabTrigStartNum, 200);
        EXPECT_GE(params.MinIdleRPM, 500);
        EXPECT_LE(params.MinIdleRPM, 2000);
        EXPECT_GE(params.IdleStabAdv, 0);
        EXPECT_LE(params.IdleStabAdv, 228);
        EXPECT_GE(params.GPIO2MinRPM, 0);
        EXPECT_LE(params.GPIO2MaxRPM, 11000);
        EXPECT_GE(params.GPIO2MaxRPM, 1000);
        EXPECT_LE(params.GPIO2MinRPM, params.GPIO2MaxRPM);
    }
    ui.answers.clear();
    ui.calls.clear();
    ui.answers.push_back(ui::Answer::OK);
    EXPECT_EQ(enter(GpioField::MinIdleRPM, QString(400, u'9')), QStringLiteral("2000"));
    expectMessage(QStringLiteral("Value must be less than or equal to 2000"), QStringLiteral("Minimum Idle RPM"));
}

TEST_F(GpioParamsFormTest, TheRPMWindowNeverInverts)
{
    open();
    params.GPIO2MaxRPM = 6000;
    EXPECT_EQ(enter(GpioField::GPIO2MinRPM, QStringLiteral("8000")), QStringLiteral("8000"));
    EXPECT_EQ(params.GPIO2MaxRPM, 8000);
    EXPECT_EQ(form->state.txtGPIO2MaxRPM, QStringLiteral("8000"));

    params.GPIO2MinRPM = 3000;
    EXPECT_EQ(enter(GpioField::GPIO2MaxRPM, QStringLiteral("1200")), QStringLiteral("1200"));
    EXPECT_EQ(params.GPIO2MinRPM, 1200);
    EXPECT_EQ(form->state.txtGPIO2MinRPM, QStringLiteral("1200"));

    params.GPIO2MinRPM = 3000;
    ui.answers.push_back(ui::Answer::OK);
    enter(GpioField::GPIO2MaxRPM, QStringLiteral("500"));
    expectMessage(QStringLiteral("Value must be greater than or equal to 1000"), QStringLiteral("Maximum RPM"));
    EXPECT_EQ(params.GPIO2MaxRPM, 1000);
    EXPECT_EQ(params.GPIO2MinRPM, 1000);
}

}  // namespace
}  // namespace tunara::test
