#include "dialogs/gpio_params_form.h"

#include "core/numbers.h"

#include <cmath>

namespace tunara::dialogs {

namespace {

constexpr std::uint8_t ModeBitsKept = 0xF0;  // the high four bits belong to others
constexpr std::uint8_t ModeDataLog = 0x00;
constexpr std::uint8_t ModeRPMSwitch = 0x03;

struct FieldRule {
    int minimum;
    const char *lowText;
    int maximum;
    const char *highText;
    const char *title;
};

const FieldRule &ruleOf(GpioField field)
{
    static const FieldRule trigStart{10, "Value must be greater than or equal to 10", 200,
                                     "Value must be less than or equal to 200", "Trigger Pulses After Start"};
    static const FieldRule minIdle{500, "Value must be greater than or equal to 500", 2000,
                                   "Value must be less than or equal to 2000", "Minimum Idle RPM"};
    static const FieldRule advance{0, "Value must be greater than or equal to zero", 20,
                                   "Value must be less than or equal to 20", "Idle Stabilization Advance"};
    static const FieldRule minRPM{0, "Value must be greater than or equal to zero", 10900,
                                  "Value must be less than or equal to 10900", "Minimum RPM"};
    static const FieldRule maxRPM{1000, "Value must be greater than or equal to 1000", 11000,
                                  "Value must be less than or equal to 11000", "Maximum RPM"};
    switch (field) {
    case GpioField::IdleStabTrigStartNum:
        return trigStart;
    case GpioField::MinIdleRPM:
        return minIdle;
    case GpioField::IdleStabAdv:
        return advance;
    case GpioField::GPIO2MinRPM:
        return minRPM;
    case GpioField::GPIO2MaxRPM:
        break;
    }
    return maxRPM;
}

int roundToInt(double value)
{
    return static_cast<int>(numbers::roundHalfEven(value));
}

// Speeds are kept in steps of 50 RPM, halves to the even step.
int toRPMStep(int rpm)
{
    return roundToInt(rpm / 50.0) * 50;
}

int advanceDegrees(int idleStabAdv)
{
    return roundToInt(idleStabAdv * DegreesPerStep);
}

}  // namespace

QString &GpioParamsState::text(GpioField field)
{
    return const_cast<QString &>(static_cast<const GpioParamsState &>(*this).text(field));
}

const QString &GpioParamsState::text(GpioField field) const
{
    switch (field) {
    case GpioField::IdleStabTrigStartNum:
        return txtIdleStabTrigStartNum;
    case GpioField::MinIdleRPM:
        return txtMinIdleRPM;
    case GpioField::IdleStabAdv:
        return txtIdleStabAdv;
    case GpioField::GPIO2MinRPM:
        return txtGPIO2MinRPM;
    case GpioField::GPIO2MaxRPM:
        break;
    }
    return txtGPIO2MaxRPM;
}

GpioParamsForm::GpioParamsForm(ModuleDocument &document, ui::UserInterface &ui, QWidget *owner)
    : m_document(document), m_ui(ui), m_owner(owner)
{
}

void GpioParamsForm::Form_Load()
{
    state.chkIdleStabEnable = m_document.params().IdleStabEnable;
    state.txtIdleStabTrigStartNum = numbers::format(m_document.params().IdleStabTrigStartNum, QStringLiteral("##0"));
    state.txtMinIdleRPM = numbers::format(m_document.params().MinIdleRPM, QStringLiteral("###0"));
    state.txtIdleStabAdv = numbers::format(advanceDegrees(m_document.params().IdleStabAdv), QStringLiteral("#0"));
    // Selecting an option here is not a click: GPIO2Mode stays as loaded,
    // also a mode that is neither option.
    state.gpioOption =
        (m_document.params().GPIO2Mode & 0x0F) == ModeRPMSwitch ? GpioOption::RPMSwitch : GpioOption::DataLog;
    state.rpmFieldsEnabled = state.gpioOption == GpioOption::RPMSwitch;
    // The plain number form (a blank in place of the sign) until a field
    // has been checked.
    state.txtGPIO2MinRPM = numbers::plainWholeNumber(m_document.params().GPIO2MinRPM);
    state.txtGPIO2MaxRPM = numbers::plainWholeNumber(m_document.params().GPIO2MaxRPM);
}

void GpioParamsForm::chkIdleStabEnable_Click(bool checked)
{
    state.chkIdleStabEnable = checked;
    m_document.edit()->params.IdleStabEnable = checked;
}

void GpioParamsForm::optGPIO2DataLog_Click()
{
    state.gpioOption = GpioOption::DataLog;
    m_document.edit()->params.GPIO2Mode = static_cast<std::uint8_t>((m_document.params().GPIO2Mode & ModeBitsKept) | ModeDataLog);
    state.rpmFieldsEnabled = false;
}

void GpioParamsForm::optGPIO2RPMSwitch_Click()
{
    state.gpioOption = GpioOption::RPMSwitch;
    m_document.edit()->params.GPIO2Mode = static_cast<std::uint8_t>((m_document.params().GPIO2Mode & ModeBitsKept) | ModeRPMSwitch);
    state.rpmFieldsEnabled = true;
}

void GpioParamsForm::validate(GpioField field)
{
    const std::optional<int> entry = boundedEntry(field);
    if (!entry) {
        showStored(field);
        return;
    }
    store(field, *entry);
    if (field == GpioField::GPIO2MinRPM || field == GpioField::GPIO2MaxRPM)
        keepRPMWindow(field);
}

std::optional<int> GpioParamsForm::boundedEntry(GpioField field)
{
    const FieldRule &rule = ruleOf(field);
    const std::optional<double> number = numbers::readNumber(state.text(field));
    if (!number) {
        // Not a number: said with both of the field's bounds, and the
        // parameter keeps its value rather than taking 0 or a number read
        // from the text's first digits.
        m_ui.messageBox(m_owner, QString::fromUtf8(rule.lowText) + u'\n' + QString::fromUtf8(rule.highText),
                        QString::fromUtf8(rule.title), ui::Buttons::OK, ui::Icon::Exclamation);
        return std::nullopt;
    }
    // The whole part, compared as a double so that a huge entry is reported
    // as too large, never wrapped into range.
    const double entry = std::floor(*number);
    if (entry < rule.minimum) {
        m_ui.messageBox(m_owner, QString::fromUtf8(rule.lowText), QString::fromUtf8(rule.title), ui::Buttons::OK,
                        ui::Icon::Exclamation);
        return rule.minimum;
    }
    if (entry > rule.maximum) {
        m_ui.messageBox(m_owner, QString::fromUtf8(rule.highText), QString::fromUtf8(rule.title), ui::Buttons::OK,
                        ui::Icon::Exclamation);
        return rule.maximum;
    }
    return static_cast<int>(entry);
}

void GpioParamsForm::showStored(GpioField field)
{
    const ModuleParameters &p = m_document.params();
    switch (field) {
    case GpioField::IdleStabTrigStartNum:
        state.txtIdleStabTrigStartNum = numbers::format(p.IdleStabTrigStartNum, QStringLiteral("##0"));
        break;
    case GpioField::MinIdleRPM:
        state.txtMinIdleRPM = numbers::format(p.MinIdleRPM, QStringLiteral("###0"));
        break;
    case GpioField::IdleStabAdv:
        state.txtIdleStabAdv = numbers::format(advanceDegrees(p.IdleStabAdv), QStringLiteral("#0"));
        break;
    case GpioField::GPIO2MinRPM:
        state.txtGPIO2MinRPM = numbers::format(p.GPIO2MinRPM, QStringLiteral("####0"));
        break;
    case GpioField::GPIO2MaxRPM:
        state.txtGPIO2MaxRPM = numbers::format(p.GPIO2MaxRPM, QStringLiteral("####0"));
        break;
    }
}

void GpioParamsForm::store(GpioField field, int value)
{
    {
        // One edit, so the document announces the change once it is made.
        auto edit = m_document.edit();
        ModuleParameters &p = edit->params;
        switch (field) {
        case GpioField::IdleStabTrigStartNum:
            p.IdleStabTrigStartNum = value;
            break;
        case GpioField::MinIdleRPM:
            p.MinIdleRPM = toRPMStep(value);
            break;
        case GpioField::IdleStabAdv:
            p.IdleStabAdv = roundToInt(value / DegreesPerStep);
            break;
        case GpioField::GPIO2MinRPM:
            p.GPIO2MinRPM = toRPMStep(value);
            break;
        case GpioField::GPIO2MaxRPM:
            p.GPIO2MaxRPM = toRPMStep(value);
            break;
        }
    }
    showStored(field);
}

void GpioParamsForm::keepRPMWindow(GpioField left)
{
    if (m_document.params().GPIO2MaxRPM >= m_document.params().GPIO2MinRPM)
        return;
    // The bound not being edited follows the one just entered.
    if (left == GpioField::GPIO2MinRPM) {
        m_document.edit()->params.GPIO2MaxRPM = m_document.params().GPIO2MinRPM;
        state.txtGPIO2MaxRPM = state.txtGPIO2MinRPM;
    } else {
        m_document.edit()->params.GPIO2MinRPM = m_document.params().GPIO2MaxRPM;
        state.txtGPIO2MinRPM = state.txtGPIO2MaxRPM;
    }
}

}  // namespace tunara::dialogs
