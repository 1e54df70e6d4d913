#pragma once

#include <QString>

#include <optional>

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

// Every number the user types (or pastes) is read by this one rule: blanks
// around it, an optional sign, ASCII digits with at most one decimal point
// or comma, at least one digit. Anything else is not a number: exponents
// ("1e9"), other scripts' digits, thousands separators ("1.000,5"), trailing
// text ("12,5abc"), an empty text, and a number too large for a double. A
// refused text is never read as some other number.
std::optional<double> readNumber(QStringView text);

// Display patterns: "#0", "#0.0", "0.0", "##00", "###0", "####0".
// No digit grouping; the minimum count of integer digits comes from the
// zeros before the point, the decimals from the zeros after it.
QString format(double value, const QString &pattern);

// A whole number with one leading blank in place of a plus sign
// (" 3000", "-5").
QString plainWholeNumber(long long value);

}  // namespace tunara::numbers
