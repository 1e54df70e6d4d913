#pragma once

#include "views/chart_template.h"
#include "tables/timing_tables.h"
#include "views/surface_chart.h"

#include <cstdint>

namespace tunara::views {

// The 3D timing chart of the main window: the surface chart with its look
// from a template file (.oc3). Editing gestures are handled by the 3D table
// view on top of its mouse signals.
class Chart3DView : public SurfaceChart {
    Q_OBJECT
public:
    explicit Chart3DView(QWidget *parent = nullptr);

    bool loadTemplate(const QString &path);
    const TemplateResult &lastTemplateResult() const { return m_lastTemplate; }
    const ChartTemplate &currentTemplate() const { return m_template; }

    // The pressure labels of a MAP sensor byte along the pressure axis.
    void setMapSensor(std::uint8_t mapSensor);

    // The look a template gives the surface.
    static views::SurfaceLook lookOf(const ChartTemplate &chartTemplate);
    // The look of a template file with the pressure labels of a MAP sensor
    // byte: the built-in look when the file is missing or unusable. What
    // the chart shows after loadTemplate() and setMapSensor().
    static views::SurfaceLook lookOf(const QString &templatePath, std::uint8_t mapSensor);

private:
    static ChartTemplate builtInTemplate();
    static QStringList pressureLabels(std::uint8_t mapSensor);

    ChartTemplate m_template;
    TemplateResult m_lastTemplate;
};

}  // namespace tunara::views
