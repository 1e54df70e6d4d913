#include "tables/timing_tables.h"

#include "image/module_parameters.h"

namespace tunara {

// Never below 0 first, then into the window. Both steps apply in turn: a
// negative cell stopped at 0 while the window starts above 0 would be shown
// as 0.0 yet stored as the largest retard, a different advance on reload.
double clampToTrigger(double v, int newTrig)
{
    if (v < 0)
        v = 0;
    if (v < newTrig - MaxRetard)
        return newTrig - MaxRetard;
    if (v > newTrig)
        return newTrig;
    return v;
}

void ClampTablesToTrigger(TimingTables &tables, int newTrig)
{
    for (int p = 1; p <= SpeedPoints; ++p)
        for (int m = 1; m <= PressureRows; ++m)
            tables.table3D(p, m) = clampToTrigger(tables.table3D(p, m), newTrig);
    for (int p = 1; p <= SpeedPoints; ++p)
        tables.table2D(p, 1) = clampToTrigger(tables.table2D(p, 1), newTrig);
    for (int p = 1; p <= SpeedPoints; ++p)
        tables.table2D(p, 2) = newTrig;
}

}  // namespace tunara
