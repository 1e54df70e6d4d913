#include "charts/chart_template.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace tunara::test {
namespace {

using charts::ChartTemplate;

const QByteArray Valid2D = R"({"format": "tunara-chart-template", "version": 1, "kind": "2d",
  "title": "Advance", "curveColor": "#112233",
  "xAxis": {"title": "RPM", "min": 0, "max": 10000, "ticks": 11},
  "yAxis": {"title": "Deg", "min": 0, "max": 45}})";

TEST(ChartTemplate, ReadsAppearance)
{
    const charts::TemplateResult r = charts::parseChartTemplate(Valid2D, charts::ChartTemplate::Kind::Chart2D);
    ASSERT_TRUE(r.chartTemplate) << r.error.toStdString();
    EXPECT_EQ(r.chartTemplate->title, QStringLiteral("Advance"));
    EXPECT_EQ(r.chartTemplate->curveColor, QColor(0x11, 0x22, 0x33));
    EXPECT_EQ(r.chartTemplate->xAxis.max, 10000);
    EXPECT_EQ(r.chartTemplate->xAxis.ticks, 11);
    EXPECT_EQ(r.chartTemplate->yAxis.title, QStringLiteral("Deg"));
}

TEST(ChartTemplate, RefusesWhatIsNotATemplateOfTheRightKind)
{
    struct Case {
        const char *json;
        const char *why;
    } cases[] = {
        {"{not json", "JSON"},
        {"[1, 2]", "object"},
        {R"({"format": "other", "version": 1, "kind": "2d"})", "format"},
        {R"({"format": "tunara-chart-template", "version": 2, "kind": "2d"})", "version"},
        {R"({"format": "tunara-chart-template", "version": 1, "kind": "3d"})", "kind"},
        {R"({"format": "tunara-chart-template", "version": 1, "kind": "2d", "curveColor": "bright"})", "colour"},
        {R"({"format": "tunara-chart-template", "version": 1, "kind": "2d", "xAxis": {"min": 5, "max": 5}})", "range"},
    };
    for (const Case &c : cases) {
        const charts::TemplateResult r = charts::parseChartTemplate(c.json, charts::ChartTemplate::Kind::Chart2D);
        EXPECT_FALSE(r.chartTemplate) << c.json;
        EXPECT_FALSE(r.missing);
        EXPECT_TRUE(r.error.contains(QLatin1String(c.why), Qt::CaseInsensitive))
            << c.json << " -> " << r.error.toStdString();
    }
}

TEST(ChartTemplate, MissingFileIsToldApartFromABadOne)
{
    QTemporaryDir dir;
    const charts::TemplateResult missing =
        charts::loadChartTemplate(dir.filePath(QStringLiteral("none.oc2")), charts::ChartTemplate::Kind::Chart2D);
    EXPECT_TRUE(missing.missing);
    EXPECT_FALSE(missing.chartTemplate);

    QFile bad(dir.filePath(QStringLiteral("bad.oc2")));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("garbage");
    bad.close();
    const charts::TemplateResult r = charts::loadChartTemplate(bad.fileName(), charts::ChartTemplate::Kind::Chart2D);
    EXPECT_FALSE(r.missing);
    EXPECT_FALSE(r.chartTemplate);
}

TEST(ChartTemplate, ShippedTemplatesAreValid)
{
    const QDir resources(QStringLiteral(TUNARA_RESOURCES_DIR));
    const charts::TemplateResult t2 =
        charts::loadChartTemplate(resources.filePath(QStringLiteral("Torvik_2D_Timing_Chart.oc2")), charts::ChartTemplate::Kind::Chart2D);
    ASSERT_TRUE(t2.chartTemplate) << t2.error.toStdString();
    EXPECT_EQ(t2.chartTemplate->xAxis.min, 0);
    EXPECT_EQ(t2.chartTemplate->xAxis.max, 10000);

    // Each 3D template spans the pressure labels of its sensor.
    const struct {
        const char *file;
        double low, high;
    } maps[] = {{"Torvik_3D_1Bar_Timing_Chart.oc3", 16, 30},
                {"Torvik_3D_2Bar_Timing_Chart.oc3", 18, 60},
                {"Torvik_3D_3Bar_Timing_Chart.oc3", 20, 90}};
    for (const auto &m : maps) {
        const charts::TemplateResult t =
            charts::loadChartTemplate(resources.filePath(QLatin1String(m.file)), charts::ChartTemplate::Kind::Chart3D);
        ASSERT_TRUE(t.chartTemplate) << m.file << ": " << t.error.toStdString();
        EXPECT_EQ(t.chartTemplate->yAxis.min, m.low) << m.file;
        EXPECT_EQ(t.chartTemplate->yAxis.max, m.high) << m.file;
        EXPECT_GE(t.chartTemplate->zAxis.max, 40) << m.file;  // the 3D Modify ceiling is 45
    }
}

}  // namespace
}  // namespace tunara::test
