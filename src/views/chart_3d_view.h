#pragma once

#include "charts/chart_template.h"
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
    const charts::TemplateResult &lastTemplateResult() const { return m_lastTemplate; }
    const charts::ChartTemplate &currentTemplate() const { return m_template; }

    // The pressure labels of a MAP sensor byte along the pressure axis.
    void setMapSensor(std::uint8_t mapSensor);

private:
    charts::ChartTemplate m_template;
    charts::TemplateResult m_lastTemplate;
};

}  // namespace tunara::views
