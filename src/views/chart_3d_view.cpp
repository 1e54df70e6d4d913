#include "views/chart_3d_view.h"

#include "tables/table_axes.h"

namespace tunara::views {

Chart3DView::Chart3DView(QWidget *parent) : SurfaceChart(parent), m_template(builtInTemplate())
{
    setLook(lookOf(m_template));
}

ChartTemplate Chart3DView::builtInTemplate()
{
    ChartTemplate t;
    t.kind = ChartTemplate::Kind::Chart3D;
    t.xAxis = {QString(), 0, 10000, 11};
    t.yAxis = {QString(), 0, 1, 2};
    t.zAxis = {QString(), 0, 45, 10};
    return t;
}

bool Chart3DView::loadTemplate(const QString &path)
{
    m_lastTemplate = tunara::views::loadChartTemplate(path, ChartTemplate::Kind::Chart3D);
    if (!m_lastTemplate.chartTemplate)
        return false;
    m_template = *m_lastTemplate.chartTemplate;
    views::SurfaceLook look = lookOf(m_template);
    look.pressureLabels = this->look().pressureLabels;  // the sensor's, not the template's
    setLook(look);
    return true;
}

void Chart3DView::setMapSensor(std::uint8_t mapSensor)
{
    setPressureLabels(pressureLabels(mapSensor));
}

QStringList Chart3DView::pressureLabels(std::uint8_t mapSensor)
{
    QStringList labels;
    for (int row = 1; row <= PressureRows; ++row)
        labels << axes::pressureHeading(mapSensor, row);
    return labels;
}

views::SurfaceLook Chart3DView::lookOf(const QString &templatePath, std::uint8_t mapSensor)
{
    const TemplateResult loaded = loadChartTemplate(templatePath, ChartTemplate::Kind::Chart3D);
    views::SurfaceLook look = lookOf(loaded.chartTemplate ? *loaded.chartTemplate : builtInTemplate());
    look.pressureLabels = pressureLabels(mapSensor);
    return look;
}

views::SurfaceLook Chart3DView::lookOf(const ChartTemplate &t)
{
    views::SurfaceLook look;
    look.title = t.title;
    look.background = t.background;
    look.plotBackground = t.plotBackground;
    look.gridColor = t.gridColor;
    look.surfaceLow = t.surfaceLow;
    look.surfaceHigh = t.surfaceHigh;
    look.speedTitle = t.xAxis.title;
    look.pressureTitle = t.yAxis.title;
    look.advanceTitle = t.zAxis.title;
    look.speedTicks = t.xAxis.ticks;
    look.advanceMin = t.zAxis.min;
    look.advanceMax = t.zAxis.max;
    look.advanceTicks = t.zAxis.ticks;
    look.view.rotation = t.rotation;
    look.view.elevation = t.elevation;
    return look;
}

}  // namespace tunara::views
