#include "dialogs/mod_param_sliders.h"

#include "core/numbers.h"
#include "core/shown_numbers.h"
#include "image/module_parameters.h"

#include <algorithm>

namespace tunara::dialogs::sliders {

namespace {

// Degrees of one half-degree step of the retard compensation slider, as the
// slider's own constant (it is not recomputed from DegreesPerStep).
constexpr double RetardCompHalfDegreeSteps = 0.1758;

int roundToInt(double value)
{
    return static_cast<int>(numbers::roundHalfEven(value));
}

// Half degrees of a retard compensation: Round(value x 2 x 0.0879).
int retardCompHalfDegrees(int retardComp)
{
    return roundToInt(retardComp * 2 * DegreesPerStep);
}

int startRetardDegrees(int startRetard)
{
    return roundToInt(startRetard * DegreesPerStep);
}

}  // namespace

int SliderRange::place(int position) const
{
    return std::clamp(position, minimum, maximum);
}

int trigTimingFromPosition(int v)
{
    return 40 - v;
}

int positionForTrigTiming(int trigTiming)
{
    return 40 - trigTiming;
}

int maxRPMLimitFromPosition(int v)
{
    return 13900 - 100 * v;
}

int positionForMaxRPMLimit(int rpm)
{
    return 139 - roundToInt(rpm / 100.0);
}

int crankPulsesFromPosition(int v)
{
    return 12 - v;
}

int positionForCrankPulses(int pulses)
{
    return 12 - pulses;
}

int retardCompFromPosition(int v)
{
    return roundToInt((10 - v) / RetardCompHalfDegreeSteps);
}

int positionForRetardComp(int retardComp)
{
    return 10 - retardCompHalfDegrees(retardComp);
}

int startRetardFromPosition(int v)
{
    return roundToInt((10 - v) / DegreesPerStep);
}

int positionForStartRetard(int startRetard)
{
    return 10 - startRetardDegrees(startRetard);
}

QString wholeNumberLabel(int value)
{
    return QString::number(value);
}

QString retardCompLabel(int retardComp)
{
    return numbers::shown(retardCompHalfDegrees(retardComp) / 2.0, QStringLiteral("0.0"));
}

QString startRetardLabel(int startRetard)
{
    return numbers::format(startRetardDegrees(startRetard), QStringLiteral("#0"));
}

}  // namespace tunara::dialogs::sliders
