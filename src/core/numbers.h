#pragma once

#include <QString>

// Number rules shared by every subsystem: how values become whole numbers,
// how typed text becomes a number, and the display patterns.
namespace tunara::numbers {

// Nearest integer; exact halves go to the even neighbour (2.5 -> 2, 3.5 -> 4).
double roundHalfEven(double value);

// Largest whole number not above the value (-2.5 -> -3).
double intFloor(double value);

// The leading decimal number of a text: optional blanks, optional sign,
// digits, optional decimal point and digits. A text without one gives 0.
double leadingNumber(const QString &text);

// Display patterns: "#0", "#0.0", "0.0", "##00", "###0", "####0".
// No digit grouping; the minimum count of integer digits comes from the
// zeros before the point, the decimals from the zeros after it.
QString format(double value, const QString &pattern);

// A whole number with one leading blank in place of a plus sign
// (" 3000", "-5").
QString plainWholeNumber(long long value);

}  // namespace tunara::numbers
