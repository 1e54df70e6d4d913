#pragma once

#include "tables/timing_tables.h"

#include <QList>
#include <QLocale>
#include <QStringList>

#include <cstdint>

// The texts the table grids show for a working array, for whoever prints a
// table without a grid on screen: row 0 the engine speeds in "#0", column 0
// the row captions, the advances in "#0.0".
namespace tunara::report {

// 2 rows: "RPM" and "ADV".
QList<QStringList> gridCells2D(const Table2D &table, const QLocale &locale = QLocale::c());

// 9 rows: "MAP/RPM", then the pressure rows from the lowest pressure (top)
// to the highest, captioned with the MAP sensor's labels.
QList<QStringList> gridCells3D(const Table3D &table, std::uint8_t mapSensor, const QLocale &locale = QLocale::c());

}  // namespace tunara::report
