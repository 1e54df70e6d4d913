#pragma once

#include <QByteArray>
#include <QLocale>

#include <cmath>

namespace tunara::cli {

// A number as --json prints it: the shortest text that reads back as the
// same double. Advances are whole degrees less whole steps of 0.0879, so four
// decimals hold every stored value exactly; a value that lies within
// arithmetic noise of that grid is shown as the grid value (14.2659, not
// 14.265899999999998), any other as it is.
// A value rounded to that grid (+ 0.0: no "-0").
inline double gridValue(double value)
{
    return std::round(value * 10000.0) / 10000.0 + 0.0;
}

inline QByteArray jsonNumber(double value)
{
    const double onGrid = gridValue(value);
    const double shown = std::abs(onGrid - value) < 1e-9 ? onGrid : value;
    return QByteArray::number(shown, 'g', QLocale::FloatingPointShortest);
}

}  // namespace tunara::cli
