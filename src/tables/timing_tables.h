#pragma once

#include <array>
#include <stdexcept>

namespace tunara {

inline constexpr int SpeedPoints = 21;
inline constexpr int PressureRows = 8;

// The 2D advance curve: speed point 1..21 by column 1..2. Column 1 is the
// advance in degrees, column 2 the trigger timing (the flat line the chart
// draws beside the curve). Indices are 1-based like the rest of the program.
class Table2D {
public:
    static constexpr int Columns = 2;

    double &operator()(int point, int column) { return m_cells[offset(point, column)]; }
    double operator()(int point, int column) const { return m_cells[offset(point, column)]; }
    bool operator==(const Table2D &) const = default;

private:
    static int offset(int point, int column)
    {
        if (point < 1 || point > SpeedPoints || column < 1 || column > Columns)
            throw std::out_of_range("Table2D index out of range");
        return (point - 1) * Columns + (column - 1);
    }
    std::array<double, SpeedPoints * Columns> m_cells{};
};

// The 3D advance map: speed point 1..21 by pressure index 1..8, where
// pressure index 1 is the highest-pressure row and 8 the lowest.
class Table3D {
public:
    double &operator()(int point, int pressure) { return m_cells[offset(point, pressure)]; }
    double operator()(int point, int pressure) const { return m_cells[offset(point, pressure)]; }
    bool operator==(const Table3D &) const = default;

private:
    static int offset(int point, int pressure)
    {
        if (point < 1 || point > SpeedPoints || pressure < 1 || pressure > PressureRows)
            throw std::out_of_range("Table3D index out of range");
        return (point - 1) * PressureRows + (pressure - 1);
    }
    std::array<double, SpeedPoints * PressureRows> m_cells{};
};

// Both working arrays; both always exist, the table mode picks the one edited.
struct TimingTables {
    Table2D table2D;
    Table3D table3D;
    bool operator==(const TimingTables &) const = default;
};

// One advance limited into the window of a new trigger timing: never below
// 0, then newTrig - 22 .. newTrig.
double clampToTrigger(double advance, int newTrig);

// Limits every advance of both tables with clampToTrigger and sets the 2D
// trigger line to newTrig.
void ClampTablesToTrigger(TimingTables &tables, int newTrig);

}  // namespace tunara
