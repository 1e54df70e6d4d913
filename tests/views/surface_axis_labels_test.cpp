// The surface chart's axis labels: crowded inner labels give way, but the two
// ends of every axis always show, so the range an axis spans can be read.
#include "tables/table_axes.h"
#include "charts/surface_look.h"

#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QTextItem>

#include <gtest/gtest.h>

using namespace tunara;

namespace {

// Draws nothing; keeps the texts it is asked to draw.
class TextRecorder : public QPaintEngine {
public:
    TextRecorder() : QPaintEngine(QPaintEngine::AllFeatures) {}
    QStringList texts;
    bool begin(QPaintDevice *) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState &) override {}
    void drawPixmap(const QRectF &, const QPixmap &, const QRectF &) override {}
    void drawPath(const QPainterPath &) override {}
    void drawPolygon(const QPointF *, int, PolygonDrawMode) override {}
    void drawLines(const QLineF *, int) override {}
    void drawRects(const QRectF *, int) override {}
    void drawTextItem(const QPointF &, const QTextItem &item) override { texts << item.text(); }
    Type type() const override { return QPaintEngine::User; }
};

class RecordingDevice : public QPaintDevice {
public:
    explicit RecordingDevice(QSize size) : m_size(size) {}
    QPaintEngine *paintEngine() const override { return &m_engine; }
    QStringList texts() const { return m_engine.texts; }

protected:
    int metric(PaintDeviceMetric m) const override
    {
        switch (m) {
        case PdmWidth: return m_size.width();
        case PdmHeight: return m_size.height();
        case PdmDepth: return 32;
        case PdmDpiX: case PdmDpiY: case PdmPhysicalDpiX: case PdmPhysicalDpiY: return 96;
        case PdmDevicePixelRatio: return 1;
        case PdmDevicePixelRatioScaled: return int(QPaintDevice::devicePixelRatioFScale());
        default: return 1000;
        }
    }

private:
    QSize m_size;
    mutable TextRecorder m_engine;
};

TEST(SurfaceAxisLabels, TheEndsOfEveryAxisShowAtEverySize)
{
    Table3D flat;
    for (int p = 1; p <= SpeedPoints; ++p)
        for (int m = 1; m <= PressureRows; ++m)
            flat(p, m) = 20;
    for (std::uint8_t sensor : {0, 1, 2}) {
        charts::SurfaceLook look;
        look.pressureLabels.clear();
        for (int row = 1; row <= PressureRows; ++row)
            look.pressureLabels << axes::pressureHeading(sensor, row);
        const charts::SurfaceScene scene = charts::makeSurfaceScene(flat, look, 8, 30);
        for (const QSize size : {QSize(1280, 560), QSize(800, 500), QSize(640, 400)}) {
            RecordingDevice device(size);
            QPainter painter(&device);
            charts::paintSurface(painter, QRectF(QPointF(0, 0), QSizeF(size)), scene);
            painter.end();
            const QStringList texts = device.texts();
            const auto shows = [&](const QString &t) { return texts.contains(t); };
            EXPECT_TRUE(shows(QStringLiteral("0"))) << size.width();
            EXPECT_TRUE(shows(QStringLiteral("10000"))) << size.width();
            EXPECT_TRUE(shows(look.pressureLabels.first())) << int(sensor) << " " << size.width();
            EXPECT_TRUE(shows(look.pressureLabels.last())) << int(sensor) << " " << size.width();
            const std::vector<double> ticks = scene.advanceTicks();
            EXPECT_TRUE(shows(QString::number(ticks.front()))) << size.width();
            EXPECT_TRUE(shows(QString::number(ticks.back()))) << size.width();
        }
    }
}

}  // namespace
