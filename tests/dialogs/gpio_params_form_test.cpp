// The idle stabilisation and GPIO dialog's behaviour, driven through its
// form; every message goes through the scripted user.
#include "app/scripted_ui.h"
#include "dialogs/gpio_params_form.h"
#include "held_document.h"

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
        form = std::make_unique<GpioParamsForm>(held.ready(), ui);
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
    HeldDocument held;
    ModuleParameters &params = held.data.params;
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
    EXPECT_EQ(s.txtMinIdleRPM, QStringLiteral("850"));
    EXPECT_EQ(s.txtIdleStabAdv, QStringLiteral("10"));
    EXPECT_EQ(s.gpioOption, GpioOption::RPMSwitch);
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

    // A function the dialog does not offer: shown as data logging, fields off, kept.
    params.GPIO2Mode = 0xA5;
    open();
    EXPECT_EQ(form->state.gpioOption, GpioOption::DataLog);
    EXPECT_FALSE(form->state.rpmFieldsEnabled);
    EXPECT_EQ(params.GPIO2Mode, 0xA5);
    form->optGPIO2DataLog_Click();
    EXPECT_EQ(params.GPIO2Mode, 0xA0);
}

TEST_F(GpioParamsFormTest, EntriesStoreInTheirStepsOrAreReportedAndBounded)
{
    open();
    struct Case {
        GpioField field;
        const char *typed;
        const char *shown;
        const char *message;  // none: taken silently
        const char *title;
    };
    const Case cases[] = {
        // Steps round halves to even; the whole part is taken first: 2999.9 -> 2999 -> 3000.
        {GpioField::MinIdleRPM, "1025", "1000", nullptr, nullptr},
        {GpioField::MinIdleRPM, "1075", "1100", nullptr, nullptr},
        {GpioField::IdleStabTrigStartNum, "  123", "123", nullptr, nullptr},
        {GpioField::GPIO2MinRPM, "2999.9", "3000", nullptr, nullptr},
        {GpioField::IdleStabTrigStartNum, "7", "10", "Value must be greater than or equal to 10", "Trigger Pulses After Start"},
        {GpioField::IdleStabTrigStartNum, "201", "200", "Value must be less than or equal to 200", "Trigger Pulses After Start"},
        {GpioField::IdleStabAdv, "25", "20", "Value must be less than or equal to 20", "Idle Stabilization Advance"},
        {GpioField::IdleStabAdv, "-0.5", "0", "Value must be greater than or equal to zero", "Idle Stabilization Advance"},
        {GpioField::MinIdleRPM, "2001", "2000", "Value must be less than or equal to 2000", "Minimum Idle RPM"},
        {GpioField::GPIO2MinRPM, "99999999999999999999", "10900", "Value must be less than or equal to 10900", "Minimum RPM"},
        {GpioField::GPIO2MaxRPM, "11001", "11000", "Value must be less than or equal to 11000", "Maximum RPM"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.typed);
        ui.answers.push_back(ui::Answer::OK);
        EXPECT_EQ(enter(c.field, QString::fromUtf8(c.typed)), QString::fromUtf8(c.shown));
        if (c.message)
            expectMessage(QString::fromUtf8(c.message), QString::fromUtf8(c.title));
        else
            EXPECT_TRUE(ui.calls.empty());
        ui.answers.clear();
    }
    EXPECT_EQ(params.IdleStabAdv, 0);
    EXPECT_EQ(params.GPIO2MaxRPM, 11000);
    // The advance bound is stored in its raw units: Round(20 / 0.0879).
    ui.answers.push_back(ui::Answer::OK);
    enter(GpioField::IdleStabAdv, QStringLiteral("25"));
    ui.calls.clear();
    EXPECT_EQ(params.IdleStabAdv, 228);
}

TEST_F(GpioParamsFormTest, EveryTypedTextEndsInRangeWithoutACrash)
{
    const QString texts[] = {QStringLiteral("-0"), QStringLiteral("1e9"), QStringLiteral("99999999999999999999"),
                             QStringLiteral(",5"), QString(), QString(300, u'7'), QString(400, u'9'),
                             u'-' + QString(400, u'9'), QStringLiteral("\u0663\u0664"), QStringLiteral("+15.99")};
    open();
    ui.answers.push_back(ui::Answer::OK);
    EXPECT_EQ(enter(GpioField::MinIdleRPM, QString(300, u'9')), QStringLiteral("2000"));
    for (const QString &text : texts) {
        for (GpioField field : {GpioField::IdleStabTrigStartNum, GpioField::MinIdleRPM, GpioField::IdleStabAdv,
                                GpioField::GPIO2MinRPM, GpioField::GPIO2MaxRPM}) {
            ui.answers.assign(2, ui::Answer::OK);
            enter(field, text);
        }
        const ModuleParameters &q = params;
        EXPECT_TRUE(q.IdleStabTrigStartNum >= 10 && q.IdleStabTrigStartNum <= 200) << q.IdleStabTrigStartNum;
        EXPECT_TRUE(q.MinIdleRPM >= 500 && q.MinIdleRPM <= 2000) << q.MinIdleRPM;
        EXPECT_TRUE(q.IdleStabAdv >= 0 && q.IdleStabAdv <= 228) << q.IdleStabAdv;
        EXPECT_TRUE(0 <= q.GPIO2MinRPM && q.GPIO2MinRPM <= q.GPIO2MaxRPM && q.GPIO2MaxRPM <= 11000);
        EXPECT_GE(q.GPIO2MaxRPM, 1000);
    }
}

TEST_F(GpioParamsFormTest, TheRPMWindowNeverInverts)
{
    open();
    params.GPIO2MaxRPM = 6000;
    EXPECT_EQ(enter(GpioField::GPIO2MinRPM, QStringLiteral("8000")), QStringLiteral("8000"));
    EXPECT_EQ(params.GPIO2MaxRPM, 8000);

    params.GPIO2MinRPM = 3000;
    EXPECT_EQ(enter(GpioField::GPIO2MaxRPM, QStringLiteral("1200")), QStringLiteral("1200"));
    EXPECT_EQ(params.GPIO2MinRPM, 1200);
    EXPECT_EQ(form->state.txtGPIO2MinRPM, QStringLiteral("1200"));

    params.GPIO2MinRPM = 3000;
    ui.answers.push_back(ui::Answer::OK);
    enter(GpioField::GPIO2MaxRPM, QStringLiteral("500"));
    EXPECT_EQ(params.GPIO2MaxRPM, 1000);
    EXPECT_EQ(params.GPIO2MinRPM, 1000);
}

}  // namespace
}  // namespace tunara::test
