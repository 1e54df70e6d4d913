#include "tables/table_axes.h"

#include "core/numbers.h"
#include "image/image_layout.h"
#include "tables/timing_tables.h"

#include <stdexcept>

namespace tunara::axes {

namespace {

static_assert(layout::Table2D.size == SpeedPoints);
static_assert(layout::Table3DRowLength == SpeedPoints && layout::Table3D.size == SpeedPoints * PressureRows);

void checkPoint(int point)
{
    if (point < 1 || point > SpeedPoints)
        throw std::out_of_range("speed point out of range");
}

void checkRow(int row)
{
    if (row < 1 || row > PressureRows)
        throw std::out_of_range("pressure row out of range");
}

}  // namespace

int rpmAtPoint(int point)
{
    checkPoint(point);
    return (point - 1) * 500;
}

int image2DIndex(int point)
{
    checkPoint(point);
    return layout::Table2D.at(point - 1);
}

int image3DIndex(int point, int pressureIndex)
{
    checkPoint(point);
    checkRow(pressureIndex);
    const int imageRow = PressureRows - pressureIndex;
    return layout::Table3D.at(layout::Table3DRowLength * imageRow + (point - 1));
}

int gridRowOfPressureIndex(int pressureIndex)
{
    checkRow(pressureIndex);
    return PressureRows + 1 - pressureIndex;
}

int pressureIndexOfGridRow(int gridRow)
{
    checkRow(gridRow);
    return PressureRows + 1 - gridRow;
}

int pressureLabel(std::uint8_t mapSensor, int gridRow)
{
    checkRow(gridRow);
    switch (mapSensor) {
    case 1:
        return (gridRow + 2) * 6;
    case 2:
        return gridRow * 10 + 10;
    default:
        return (gridRow + 7) * 2;
    }
}

QString speedHeading(int point)
{
    return numbers::format(rpmAtPoint(point), QStringLiteral("#0"));
}

QString pressureHeading(std::uint8_t mapSensor, int gridRow)
{
    return numbers::format(pressureLabel(mapSensor, gridRow), QStringLiteral("#0"));
}

QString template2DFileName()
{
    return QStringLiteral("Torvik_2D_Timing_Chart.oc2");
}

QString template3DFileName(std::uint8_t mapSensor)
{
    switch (mapSensor) {
    case 1:
        return QStringLiteral("Torvik_3D_2Bar_Timing_Chart.oc3");
    case 2:
        return QStringLiteral("Torvik_3D_3Bar_Timing_Chart.oc3");
    default:
        return QStringLiteral("Torvik_3D_1Bar_Timing_Chart.oc3");
    }
}

}  // namespace tunara::axes
