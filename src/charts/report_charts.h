#pragma once

#include "image/module_parameters.h"
#include "report/report_printer.h"
#include "tables/timing_tables.h"

#include <QString>

namespace tunara::charts {

// The report's chart pictures: the charts the editor shows, with their
// template file from the given path (a missing or unusable file keeps the
// chart's built-in look), filled with the table. They draw with QPainter
// alone and need a QGuiApplication (for fonts), no window and no widgets,
// in the base font of the application, not the report's fixed-width one,
// so the chart reads as it does in the window.
//
// The 2D chart: title, axes, grid, the advance curve with its points and
// the trigger-timing line, laid out as the window's chart lays itself out
// on screen.
report::ChartPicture chart2DPicture(const QString &templatePath, const Table2D &table);
// The 3D chart is drawn as lines and text by the screen's paint routine,
// with the pressure labels of the parameters' MAP sensor and on the advance
// scale the editor keeps (the template's, widened to the values and to the
// window the trigger timing allows).
report::ChartPicture chart3DPicture(const QString &templatePath, const Table3D &table,
                                    const ModuleParameters &params);

}  // namespace tunara::charts
