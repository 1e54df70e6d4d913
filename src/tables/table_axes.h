#pragma once

#include <QString>

#include <cstdint>

// Where a table cell lives in the image, the working arrays and the grids,
// and the fixed axes that label it.
namespace tunara::axes {

// Speed point p (1..21) stands for (p - 1) x 500 RPM.
int rpmAtPoint(int point);

// Image index of 2D point p: byte 15 + p.
int image2DIndex(int point);

// Image index of the 3D cell at speed point p and pressure index m. Image row
// k = 8 - m runs from the lowest pressure (k = 0) to the highest (k = 7).
int image3DIndex(int point, int pressureIndex);

// Grid row (1 = top, lowest pressure) of a pressure index, and back.
int gridRowOfPressureIndex(int pressureIndex);
int pressureIndexOfGridRow(int gridRow);

// Pressure label of grid row r (1..8) for a MAP sensor byte; unknown sensor
// bytes label as the 1 bar sensor.
int pressureLabel(std::uint8_t mapSensor, int gridRow);

// The heading texts of speed point p and of grid row r, as the grids, the 3D
// chart, the printed table and the CSV files all write them.
QString speedHeading(int point);
QString pressureHeading(std::uint8_t mapSensor, int gridRow);

// Chart template file names in the program folder.
QString template2DFileName();
QString template3DFileName(std::uint8_t mapSensor);

}  // namespace tunara::axes
