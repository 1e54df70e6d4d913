#pragma once

#include "report/report_printer.h"
#include "tables/timing_tables.h"

#include <QString>

#include <cstdint>

namespace tunara::ui {

// The report's chart pictures. Each builds the chart the editor shows, with
// its template file from the given path (a missing or unusable file keeps
// the chart's built-in look), fills it with the table, lays it out at
// screen scale and draws it scaled into the printer's rectangle. They need
// a QApplication and no window on screen.
report::ChartPicture chart2DPicture(const QString &templatePath, const Table2D &table);
// The 3D chart's pressure axis is labelled for the MAP sensor byte.
report::ChartPicture chart3DPicture(const QString &templatePath, const Table3D &table, std::uint8_t mapSensor);

}  // namespace tunara::ui
