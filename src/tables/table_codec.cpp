#include "tables/table_codec.h"

#include "core/numbers.h"
#include "image/module_parameters.h"
#include "tables/table_axes.h"

#include <cmath>

namespace tunara {

void DecodeTables(const ModuleImage &image, int trigTiming, TimingTables &tables)
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

std::uint8_t EncodeAdvance(int trigTiming, double advance)
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

void EncodeTable2D(const Table2D &table, int trigTiming, ModuleImage &image)
{
    for (int p = 1; p <= SpeedPoints; ++p)
        image.EEPROMBuffer[axes::image2DIndex(p)] = EncodeAdvance(trigTiming, table(p, 1));
}

void EncodeTable3D(const Table3D &table, int trigTiming, ModuleImage &image)
{
    for (int p = 1; p <= SpeedPoints; ++p)
        for (int m = 1; m <= PressureRows; ++m)
            image.EEPROMBuffer[axes::image3DIndex(p, m)] = EncodeAdvance(trigTiming, table(p, m));
}

void RebaseTableRegions(ModuleImage &image, int oldTrigTiming, int newTrigTiming)
{
    TimingTables stored;
    DecodeTables(image, oldTrigTiming, stored);
    ClampTablesToTrigger(stored, newTrigTiming);
    EncodeTable2D(stored.table2D, newTrigTiming, image);
    EncodeTable3D(stored.table3D, newTrigTiming, image);
}

}  // namespace tunara
