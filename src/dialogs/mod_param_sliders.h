#pragma once

#include <QString>

// The five sliders of the module parameters dialog. Every slider is
// vertical with its minimum at the top, so each maps its position the other
// way round: moving the thumb up lowers the position and raises the value.
namespace tunara::dialogs::sliders {

struct SliderRange {
    int minimum;
    int maximum;
    int largeStep;
    int smallStep;
    // The nearest position inside the range (a loaded value can lie outside).
    int place(int position) const;
};

inline constexpr SliderRange TrigTiming{0, 40, 5, 1};
// Stops at position 109 (3000 RPM): the module stores any lower limit as
// 3000, so the slider offers no limit the module would not keep.
inline constexpr SliderRange MaxRPMLimit{30, 109, 10, 1};
inline constexpr SliderRange CrankPulses{0, 10, 2, 1};
inline constexpr SliderRange RetardComp{0, 10, 2, 1};
inline constexpr SliderRange StartRetard{0, 10, 2, 1};

// Position of the RPM limit slider while no fixed limit is chosen.
inline constexpr int UnfixedRPMLimitPosition = 109;

// Parameter from position, and the position that shows a parameter (which
// can lie outside the slider's range; SliderRange::place brings it in).
int trigTimingFromPosition(int v);          // 40 - v degrees
int positionForTrigTiming(int trigTiming);
int maxRPMLimitFromPosition(int v);         // 13900 - 100 v RPM
int positionForMaxRPMLimit(int rpm);
int crankPulsesFromPosition(int v);         // 12 - v pulses
int positionForCrankPulses(int pulses);
int retardCompFromPosition(int v);          // half-degree steps, in units of 0.0879 degree
int positionForRetardComp(int retardComp);
int startRetardFromPosition(int v);         // whole degrees, in units of 0.0879 degree
int positionForStartRetard(int startRetard);

// Value label texts.
QString wholeNumberLabel(int value);
QString retardCompLabel(int retardComp);    // degrees to the half degree, "0.0"
QString startRetardLabel(int startRetard);  // whole degrees, "#0"

}  // namespace tunara::dialogs::sliders
