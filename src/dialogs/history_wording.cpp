#include "dialogs/history_wording.h"

#include "core/numbers.h"
#include "core/shown_numbers.h"

#include <QStringList>

#include <cstring>

namespace tunara::ui::history {

namespace {

// What a setting reads as on its dialog. A switch the dialog words as a
// "Disable ..." box shows checked when the module's flag is off.
struct Caption {
    const char *name;
    const char *caption;
    enum class Kind { Number, Switch, InvertedSwitch, Rpm, Degrees, HalfDegreeSteps, WholeDegreeSteps, Sensor, Bits }
        kind;
};

using K = Caption::Kind;

constexpr Caption Captions[] = {
    {"TrigTiming", "Trig Timing", K::Degrees},
    {"CrankPulses", "Cranking Pulses", K::Number},
    {"OptionFlags", "Other option bits", K::Bits},
    {"RPMLimitEnable", "Disable RPM Limit", K::InvertedSwitch},
    {"MultiSparkEnable", "Disable Multi-Spark", K::InvertedSwitch},
    {"TimingEnable", "Disable Timing Functions", K::InvertedSwitch},
    {"FixedMaxRPMLimit", "Fixed Maximum RPM Limit", K::Switch},
    {"TimingTable2D", "2D Timing Table", K::Switch},
    {"TimingTable3D", "3D Timing Table", K::Switch},
    {"MaxRPMLimit", "RPM Limit", K::Rpm},
    {"RetardComp", "Retard Comp", K::HalfDegreeSteps},
    {"StartRetard", "Start Retard", K::WholeDegreeSteps},
    {"DataLogFlags", "Other data log bits", K::Bits},
    {"HighSpeedDataLog", "High Speed Data Logging", K::Switch},
    {"MAPSensor", "MAP Sensor", K::Sensor},
    {"GPIO2Mode", "GPIO 2 mode bits", K::Bits},
    {"GPIO2MinRPM", "GPIO 2 Minimum RPM", K::Rpm},
    {"GPIO2MaxRPM", "GPIO 2 Maximum RPM", K::Rpm},
    {"IdleStabFlags", "Other idle stabilization bits", K::Bits},
    {"IdleStabEnable", "Enable Idle Stabilization", K::Switch},
    {"IdleStabTrigStartNum", "Trigger Pulses After Start", K::Number},
    {"MinIdleRPM", "Minimum Idle RPM", K::Rpm},
    {"IdleStabAdv", "Idle Stabilization Advance", K::WholeDegreeSteps},
};

const Caption *captionOf(const char *name)
{
    for (const Caption &c : Captions)
        if (std::strcmp(c.name, name) == 0)
            return &c;
    return nullptr;
}

QString valueText(const ParameterField &field, K kind, const QLocale &locale)
{
    if (const bool *on = std::get_if<bool>(&field.value))
        return (*on != (kind == K::InvertedSwitch)) ? QStringLiteral("on") : QStringLiteral("off");
    const int v = std::get<int>(field.value);
    switch (kind) {
    case K::Rpm: return numbers::shownWhole(v, locale) + QStringLiteral(" RPM");
    case K::Degrees: return numbers::shownWhole(v, locale) + u'°';
    // As the sliders show them: to the nearest half or whole degree.
    case K::HalfDegreeSteps:
        return numbers::shown(numbers::roundHalfEven(v * 2 * DegreesPerStep) / 2, QStringLiteral("#0.0"), locale) + u'°';
    case K::WholeDegreeSteps: return numbers::shown(v * DegreesPerStep, QStringLiteral("#0"), locale) + u'°';
    case K::Sensor: return mapSensorName(v);
    case K::Bits: return QStringLiteral("0x") + QString::number(v, 16).toUpper().rightJustified(2, u'0');
    case K::Number:
    case K::Switch:
    case K::InvertedSwitch: break;
    }
    return numbers::shownWhole(v, locale);
}

// A flag byte is news only when no named setting of it is listed.
bool namedSettingListed(const std::vector<compare::ParameterDifference> &changes, const ParameterField &byte)
{
    for (const compare::ParameterDifference &c : changes)
        if (c.a.address == byte.address && std::holds_alternative<bool>(c.a.value))
            return true;
    return false;
}

}  // namespace

QString eventWording(restore::Event event)
{
    using E = restore::Event;
    switch (event) {
    case E::Downloaded: return QStringLiteral("Download: image received");
    case E::BeforeUpload: return QStringLiteral("Upload: image sent");
    case E::ModuleBeforeUpload: return QStringLiteral("Upload: module held before");
    case E::BeforeDownload: return QStringLiteral("Download: buffer replaced");
    case E::BeforeOpen: return QStringLiteral("Open: buffer replaced");
    }
    return restore::eventText(event);
}

QString pointWording(const restore::Entry &point)
{
    const QString event = eventWording(point.event);
    if (point.uploadEnd == QLatin1String("failed"))
        return event + QStringLiteral(" (upload failed)");
    if (point.uploadEnd == QLatin1String("stopped"))
        return event + QStringLiteral(" (upload stopped)");
    return event;
}

QStringList parameterLines(const std::vector<compare::ParameterDifference> &changes, const QLocale &locale)
{
    QStringList lines;
    for (const compare::ParameterDifference &c : changes) {
        const Caption *caption = captionOf(c.a.name);
        if (!caption) {
            lines << QStringLiteral("%1 %2 → %3").arg(QLatin1String(c.a.name), parameterValueText(c.a),
                                                      parameterValueText(c.b));
            continue;
        }
        if (caption->kind == K::Bits && namedSettingListed(changes, c.a))
            continue;
        const bool isSwitch = std::holds_alternative<bool>(c.a.value);
        lines << QStringLiteral("%1%2 %3 → %4")
                     .arg(QLatin1String(caption->caption), isSwitch ? QStringLiteral(":") : QString(),
                          valueText(c.a, caption->kind, locale), valueText(c.b, caption->kind, locale));
    }
    return lines;
}

}  // namespace tunara::ui::history
