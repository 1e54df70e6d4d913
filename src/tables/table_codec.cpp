#include "tables/table_codec.h"

#include "core/numbers.h"
#include "image/module_parameters.h"
#include "tables/table_axes.h"

#include <cmath>

namespace tunara {

void decodeTables(const ModuleImage &image, int trigTiming, TimingTables &tables)
{
    for (int p = 1; p <= SpeedPoints; ++p) {
        const double raw = image.EEPROMBuffer[axes::image2DIndex(p)] * DegreesPerStep;
        const double advance = trigTiming - raw;
        tables.table2D(p, 1) = advance < 0 ? 0.0 : advance;
        tables.table2D(p, 2) = trigTiming;
    }
    for (int p = 1; p <= SpeedPoints; ++p) {
        for (int m = 1; m <= PressureRows; ++m) {
            const double raw = image.EEPROMBuffer[axes::image3DIndex(p, m)] * DegreesPerStep;
            tables.table3D(p, m) = trigTiming - raw;
        }
    }
}

std::uint8_t encodeAdvance(int trigTiming, double advance)
{
    const double steps = numbers::roundHalfEven((trigTiming - advance) / DegreesPerStep);
    // NaN cannot come from the editor's parse, but a byte must never be
    // undefined: treat it as "no retard" rather than convert garbage.
    if (std::isnan(steps) || steps < 0)
        return 0;
    if (steps > 255)
        return 255;
    return static_cast<std::uint8_t>(steps);
}

void encodeTable2D(const Table2D &table, int trigTiming, ModuleImage &image)
{
    for (int p = 1; p <= SpeedPoints; ++p)
        image.EEPROMBuffer[axes::image2DIndex(p)] = encodeAdvance(trigTiming, table(p, 1));
}

void encodeTable3D(const Table3D &table, int trigTiming, ModuleImage &image)
{
    for (int p = 1; p <= SpeedPoints; ++p)
        for (int m = 1; m <= PressureRows; ++m)
            image.EEPROMBuffer[axes::image3DIndex(p, m)] = encodeAdvance(trigTiming, table(p, m));
}

void rebaseTableRegions(ModuleImage &image, int oldTrigTiming, int newTrigTiming)
{
    TimingTables stored;
    decodeTables(image, oldTrigTiming, stored);
    ClampTablesToTrigger(stored, newTrigTiming);
    encodeTable2D(stored.table2D, newTrigTiming, image);
    encodeTable3D(stored.table3D, newTrigTiming, image);
}

}  // namespace tunara
