#pragma once

#include <QString>

#include <optional>

// The rules every editing operation of the timing tables shares: the advance
// window a value must stay in, how a value is shown, how typed text is
// checked, and how the 2D chart turns mouse travel into a value.
namespace tunara::editor {

enum class TableKind { None, Curve2D, Map3D };

// A closed range of advance in degrees.
struct AdvanceWindow {
    double low = 0;
    double high = 0;

    bool contains(double v) const { return v >= low && v <= high; }
    // Below the window gives low, above it high.
    double limit(double v) const;
};

// The window of a drag and of a typed entry: TrigTiming - 22 .. TrigTiming,
// which the 2D curve also keeps at or above 0 (the 3D map may go negative
// when the trigger timing is below 22).
AdvanceWindow editWindow(TableKind kind, int trigTiming);

// A table value as shown, in the display pattern "#0.0" with the user's decimal mark.
QString formatValue(double value);

// The advance the module will hold for a value: the value encoded into its
// byte (whole steps of 0.0879 degree of retard below the trigger timing,
// 0..255) and decoded again, the 2D curve never below 0. The views show
// this, so what is on screen is what a save and a reload give back.
double storedValue(TableKind kind, int trigTiming, double value);
QString displayText(TableKind kind, int trigTiming, double value);

// A typed entry: the value when the text is a number (numbers::readNumber)
// inside the window, nothing when the entry must be refused.
std::optional<double> checkTypedEntry(TableKind kind, int trigTiming, const QString &text);

// The message and title of a refused entry.
QString entryRefusalText(TableKind kind, int trigTiming);
QString entryRefusalTitle();

// The 2D drag: the value caught at the press (downValue, at vertical pixel
// downY) moved to vertical pixel y. One pixel up is 0.1 degree, the result a
// multiple of 0.2 degree (exact halves of a step go to the even step), then
// limited to the 2D window.
double dragValue2D(double downValue, int downY, int y, int trigTiming);

}  // namespace tunara::editor
