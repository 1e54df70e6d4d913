#pragma once

#include "tables/timing_tables.h"

#include <QString>

#include <optional>

// What the new 2D table wizard works with, apart from its window: the five
// whole-number entries, their checks and corrections, and the generated
// advance curve.
namespace tunara::wizards {

// A message to show before an entry is replaced (OK only, exclamation).
struct FieldMessage {
    QString text;
    QString title;
};

struct New2DTableForm {
    int TrigTimingVal = 0;
    int StartRPMVal = 1500;
    int FinalRPMVal = 3000;
    int StartTimingVal = 10;
    int FinalTimingVal = 30;

    // The values at open for the module's trigger timing: the start advance
    // 10 degrees below it where it is 20 or less, the final advance at most
    // the trigger timing, neither below 0.
    static New2DTableForm opened(int trigTiming);

    // The checks run when the focus leaves a box: the text read the lenient
    // way, the value stored as the box stores it, a message when it had to
    // be replaced, then the other values kept consistent with it. A text
    // that is no number is said and changes nothing.
    std::optional<FieldMessage> enterTrigTiming(const QString &text);
    std::optional<FieldMessage> enterStartRPM(const QString &text);
    std::optional<FieldMessage> enterFinalRPM(const QString &text);
    std::optional<FieldMessage> enterStartTiming(const QString &text);
    std::optional<FieldMessage> enterFinalTiming(const QString &text);

    // Box texts: degrees "#0", engine speeds "###0".
    static QString degreesText(int value);
    static QString rpmText(int value);
};

// The number in a box: blanks, tabs and line feeds anywhere are ignored
// ("1 500" is 1500), the rest read as every typed number is
// (numbers::readNumber). Nothing when it is no number.
std::optional<double> lenientNumber(const QString &text);

// The advance of the 21 speed points: flat at the start advance up to the
// start RPM, a straight line to the final advance at the final RPM, flat
// above; each point a whole number of 0.0879 degree steps unless it was
// limited to the ramp's ends or the window below the trigger timing.
// Nothing when the start RPM lies above the final RPM.
std::optional<Table2D> generateCurve(const New2DTableForm &form);

// The refusal of generateCurve, its title.
QString rpmOrderMessage();
QString wizardTitle();

}  // namespace tunara::wizards
