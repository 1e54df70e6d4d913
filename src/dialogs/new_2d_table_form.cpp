#include "dialogs/new_2d_table_form.h"

#include "core/numbers.h"
#include "image/module_parameters.h"
#include "tables/table_axes.h"

#include <algorithm>

namespace tunara::wizards {

namespace {

const QString MinZero = QStringLiteral("Value must be greater than or equal to zero");

// A value out of its range is replaced by the nearer end, with the message
// of that end; in range it is kept.
struct Range {
    double low;
    double high;
    QString lowText;
    QString highText;
    QString title;
};

std::optional<FieldMessage> limitTo(const Range &r, double &value)
{
    if (value < r.low) {
        value = r.low;
        return FieldMessage{r.lowText, r.title};
    }
    if (value > r.high) {
        value = r.high;
        return FieldMessage{r.highText, r.title};
    }
    return std::nullopt;
}

int wholePart(double v)
{
    return int(numbers::intFloor(v));
}

int nearest500(double v)
{
    return int(numbers::roundHalfEven(v / 500.0)) * 500;
}

QString maxTriggerText(int trig)
{
    return QStringLiteral("Value must be less than or equal to trigger timing: ") + New2DTableForm::degreesText(trig);
}

// An RPM box: from `low` up to 10000.
Range rpmRange(int low, const QString &title)
{
    return {double(low), 10000, QStringLiteral("Value must be greater than or equal to %1").arg(low),
            QStringLiteral("Value must be less than or equal to 10000"), title};
}

// An advance box: from zero up to the trigger timing.
Range advanceRange(int trig, const QString &title)
{
    return {0, double(trig), MinZero, maxTriggerText(trig), title};
}

// A box's text read the lenient way into `value`, limited to `r`. A text
// that is no number leaves `value` alone and is said with both of the box's
// bounds: the box keeps what it held rather than taking 0.
std::optional<FieldMessage> readWithin(const QString &text, const Range &r, double &value)
{
    const std::optional<double> number = lenientNumber(text);
    if (!number)
        return FieldMessage{r.lowText + u'\n' + r.highText, r.title};
    value = *number;
    return limitTo(r, value);
}

}  // namespace

std::optional<double> lenientNumber(const QString &text)
{
    QString compact = text;
    compact.remove(u' ').remove(u'\t').remove(u'\n');
    return numbers::readNumber(compact);
}

New2DTableForm New2DTableForm::opened(int trigTiming)
{
    New2DTableForm f;
    f.TrigTimingVal = trigTiming;
    if (f.StartTimingVal + 10 >= f.TrigTimingVal)
        f.StartTimingVal = f.TrigTimingVal - 10;
    f.StartTimingVal = std::max(f.StartTimingVal, 0);
    if (f.FinalTimingVal >= f.TrigTimingVal)
        f.FinalTimingVal = f.TrigTimingVal;
    f.FinalTimingVal = std::max(f.FinalTimingVal, 0);
    return f;
}

std::optional<FieldMessage> New2DTableForm::enterTrigTiming(const QString &text)
{
    double v = TrigTimingVal;
    const auto msg = readWithin(text, {0, 40, MinZero, QStringLiteral("Value must be less than or equal to 40"),
                                       QStringLiteral("Trigger Timing Value")},
                                v);
    TrigTimingVal = wholePart(v);
    StartTimingVal = std::min(StartTimingVal, TrigTimingVal);
    FinalTimingVal = std::min(FinalTimingVal, TrigTimingVal);
    return msg;
}

std::optional<FieldMessage> New2DTableForm::enterStartRPM(const QString &text)
{
    double v = StartRPMVal;
    const auto msg = readWithin(text, rpmRange(500, QStringLiteral("Start RPM Parameter")), v);
    StartRPMVal = nearest500(v);
    FinalRPMVal = std::max(FinalRPMVal, StartRPMVal);
    return msg;
}

std::optional<FieldMessage> New2DTableForm::enterFinalRPM(const QString &text)
{
    double v = FinalRPMVal;
    const auto msg = readWithin(text, rpmRange(1000, QStringLiteral("Final RPM Parameter")), v);
    FinalRPMVal = nearest500(v);
    StartRPMVal = std::min(StartRPMVal, FinalRPMVal);
    return msg;
}

std::optional<FieldMessage> New2DTableForm::enterStartTiming(const QString &text)
{
    double v = StartTimingVal;
    const auto msg = readWithin(text, advanceRange(TrigTimingVal, QStringLiteral("Start Timing Value")), v);
    StartTimingVal = wholePart(v);
    return msg;
}

std::optional<FieldMessage> New2DTableForm::enterFinalTiming(const QString &text)
{
    double v = FinalTimingVal;
    const auto msg = readWithin(text, advanceRange(TrigTimingVal, QStringLiteral("Final Timing Value")), v);
    FinalTimingVal = wholePart(v);
    return msg;
}

QString New2DTableForm::degreesText(int value)
{
    return numbers::format(value, QStringLiteral("#0"));
}

QString New2DTableForm::rpmText(int value)
{
    return numbers::format(value, QStringLiteral("###0"));
}

std::optional<Table2D> generateCurve(const New2DTableForm &form)
{
    // Single precision where the module's own tools worked in it: the
    // slope, the offset and each snapped point.
    float span = float(form.FinalRPMVal - form.StartRPMVal);
    if (span < 0)
        return std::nullopt;
    if (span < 1)
        span = 1;
    const float slope = float(form.FinalTimingVal - form.StartTimingVal) / span;
    const float offset = float(form.StartTimingVal) - slope * float(form.StartRPMVal);
    const int low = std::min(form.StartTimingVal, form.FinalTimingVal);
    const int high = std::max(form.StartTimingVal, form.FinalTimingVal);
    const int trig = form.TrigTimingVal;
    Table2D table;
    for (int i = 0; i <= 20; ++i) {
        const double raw = (double(slope) * axes::rpmAtPoint(i + 1) + double(offset)) / DegreesPerStep;
        float a = float(numbers::roundHalfEven(raw) * DegreesPerStep);
        if (a < low)
            a = float(low);
        else if (a > high)
            a = float(high);
        else if (a < 0)
            a = 0;
        if (a < trig - MaxRetard)
            a = float(trig - MaxRetard);
        else if (a > trig)
            a = float(trig);
        table(i + 1, 1) = a;
        table(i + 1, 2) = trig;
    }
    return table;
}

QString rpmOrderMessage()
{
    return QStringLiteral("User error - start RPM must be less than final RPM.");
}

QString wizardTitle()
{
    return QStringLiteral("New Timing Table Wizard");
}

}  // namespace tunara::wizards
