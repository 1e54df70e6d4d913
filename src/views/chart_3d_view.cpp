#include "views/chart_3d_view.h"

namespace tunara::views {

Chart3DView::Chart3DView(QWidget *parent) : SurfaceChart(parent), m_template(charts::builtInSurfaceTemplate())
{
    setLook(charts::surfaceLook(m_template));
}

bool Chart3DView::loadTemplate(const QString &path)
{
    m_lastTemplate = charts::loadChartTemplate(path, charts::ChartTemplate::Kind::Chart3D);
    if (!m_lastTemplate.chartTemplate)
        return false;
    m_template = *m_lastTemplate.chartTemplate;
    charts::SurfaceLook look = charts::surfaceLook(m_template);
    look.pressureLabels = this->look().pressureLabels;  // the sensor's, not the template's
    setLook(look);
    return true;
}

void Chart3DView::setMapSensor(std::uint8_t mapSensor)
{
    setPressureLabels(charts::pressureLabels(mapSensor));
}

}  // namespace tunara::views
