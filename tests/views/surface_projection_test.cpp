// The surface chart's projection: what is drawn and what is picked agree,
// and the value under a pixel takes a projected value back exactly.
#include "charts/surface_look.h"
#include "charts/surface_projection.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace tunara;
using namespace tunara::charts;

namespace {

Table3D rampMap()
{
    Table3D t;
    for (int p = 1; p <= SpeedPoints; ++p)
        for (int m = 1; m <= PressureRows; ++m)
            t(p, m) = 5 + p + 0.5 * m;
    return t;
}

TEST(SurfaceProjection, AValueProjectedAndTakenBackFromItsPixelIsTheSameValueInEveryView)
{
    const QRectF area(10, 20, 900, 600);
    for (double rotation = -720; rotation <= 720; rotation += 17.5)
        for (double elevation : {0.0, 0.01, 10.0, 25.0, 45.0, 80.0, 84.99, 85.0, 90.0, 200.0})
            for (double zoom : {0.5, 1.0, 3.0}) {
                const SurfaceProjection proj(area, {rotation, elevation, zoom}, -7, 45);
                for (int p : {1, 11, 21})
                    for (int m : {1, 4, 8})
                        for (double v : {-7.0, 0.0, 13.37, 45.0, 60.0}) {
                            const std::optional<double> back = proj.valueUnder(p, m, proj.gridPoint(p, m, v));
                            ASSERT_TRUE(back) << rotation << " " << elevation;
                            EXPECT_NEAR(*back, v, 1e-9) << rotation << " " << elevation << " " << zoom;
                        }
            }
}

TEST(SurfaceProjection, ThePixelAboveAPointAsksForMoreAdvanceAndNoViewJumpsUpToTheSteepestView)
{
    const QRectF area(0, 0, 800, 500);
    double previous = std::numeric_limits<double>::quiet_NaN();
    for (double elevation = 0; elevation <= 85; elevation += 0.5) {
        const SurfaceProjection proj(area, {35, elevation, 1}, 0, 45);
        const QPointF at = proj.gridPoint(5, 5, 20);
        const double up = *proj.valueUnder(5, 5, at - QPointF(0, 10)) - 20;
        EXPECT_GT(up, 0);
        // Sideways travel leaves the value alone: the line stands upright.
        EXPECT_NEAR(*proj.valueUnder(5, 5, at + QPointF(40, 0)), 20, 1e-9);
        if (!std::isnan(previous)) {
            EXPECT_LT(up / previous, 1.12) << elevation;  // no sudden change between near views
        }
        previous = up;
    }
}

TEST(SurfaceProjection, HitTestFindsTheNearestDrawnPointAndKnowsThePlotArea)
{
    const Table3D map = rampMap();
    // A margin as the chart keeps for its labels: the box's corners lie on it.
    const SurfaceProjection proj(QRectF(0, 0, 800, 500), {35, 25, 1}, 0, 45, 20);
    for (int p : {1, 7, 21})
        for (int m : {1, 5, 8}) {
            const SurfaceHit hit = proj.hitTest(proj.gridPoint(p, m, map(p, m)) + QPointF(0.4, -0.3), map);
            EXPECT_EQ(hit.point, p);
            EXPECT_EQ(hit.pressureIndex, m);
            EXPECT_NEAR(hit.distance, 0.5, 1e-9);
            EXPECT_TRUE(hit.insidePlot);
        }
    EXPECT_FALSE(proj.hitTest(QPointF(-5, 40), map).insidePlot);
    EXPECT_FALSE(proj.hitTest(QPointF(10, 600), map).insidePlot);
}

TEST(SurfaceProjection, AnAreaTooSmallOrAValueNotANumberGivesNoAnswerAndNoCrash)
{
    Table3D map = rampMap();
    map(3, 3) = std::numeric_limits<double>::quiet_NaN();
    for (const QRectF &area : {QRectF(0, 0, 0, 0), QRectF(0, 0, 5, 400), QRectF(0, 0, -50, -50)}) {
        const SurfaceProjection proj(area, {35, 25, 1}, 0, 45);
        EXPECT_FALSE(proj.isUsable());
        EXPECT_FALSE(proj.valueUnder(1, 1, QPointF(1, 1)));
        const SurfaceHit hit = proj.hitTest(QPointF(1, 1), map);
        EXPECT_EQ(hit.point, 0);
        EXPECT_FALSE(hit.insidePlot);
    }
    const SurfaceProjection nanView(QRectF(0, 0, 800, 500), {std::nan(""), std::nan(""), std::nan("")}, 0, 0);
    ASSERT_TRUE(nanView.isUsable());
    EXPECT_FALSE(nanView.valueUnder(1, 1, QPointF(std::nan(""), 3)));
    const SurfaceHit hit = nanView.hitTest(nanView.gridPoint(3, 3, 5), map);
    EXPECT_FALSE(hit.point == 3 && hit.pressureIndex == 3);  // a cell that is not a number is never caught
}

TEST(SurfaceProjection, ThePaintRoutineDrawsIntoAnyPainterAtAnySize)
{
    SurfaceLook look;
    look.title = QStringLiteral("Map");
    SurfaceScene scene = makeSurfaceScene(rampMap(), look, -7, 15);
    EXPECT_EQ(scene.advanceLow, -10);  // widened by whole steps of 5 to hold -7
    EXPECT_EQ(scene.advanceHigh, 45);
    scene.label = {true, QStringLiteral("12.0"), 4, 2};
    QImage image;
    for (const QSize size : {QSize(1, 1), QSize(40, 30), QSize(640, 400)}) {
        image = QImage(size, QImage::Format_ARGB32);
        image.fill(Qt::black);
        QPainter painter(&image);
        paintSurface(painter, QRectF(QPointF(0, 0), QSizeF(size)), scene);
        painter.end();
        EXPECT_EQ(image.pixelColor(0, 0), scene.look.background) << size.width();
    }
    // A surface was drawn in the last, large picture: its colours are there.
    const SurfaceProjection proj = surfaceProjection(image.rect(), QFontMetricsF(QFont(), &image), scene);
    const QPointF mid = (proj.gridPoint(10, 4, scene.values(10, 4)) + proj.gridPoint(11, 5, scene.values(11, 5))) / 2;
    const QColor drawn = image.pixelColor(mid.toPoint());
    EXPECT_NE(drawn, scene.look.plotBackground);
    EXPECT_NE(drawn, scene.look.background);
}

}  // namespace

namespace {

TEST(SurfaceProjection, TheBoxFillsThePlotCentredAtAnySizeAndRotationAndNoLabelCoversAnother)
{
    SurfaceLook look;
    look.title = QStringLiteral("Map");
    for (const QSize size : {QSize(1400, 520), QSize(800, 500), QSize(420, 640)})
        for (double rotation : {35.0, 200.0}) {
            look.view.rotation = rotation;
            const SurfaceScene scene = makeSurfaceScene(rampMap(), look, 8, 30);
            QImage image(size, QImage::Format_ARGB32);
            QPainter painter(&image);
            const QFontMetricsF fm(painter.font(), &image);
            const SurfaceLayout layout = surfaceLayout(image.rect(), fm, look);
            const SurfaceProjection proj = surfaceProjection(image.rect(), fm, scene);
            QPolygonF corners;
            for (double sp : {0.0, 1.0})
                for (double pf : {0.0, 1.0})
                    for (double adv : {scene.advanceLow, scene.advanceHigh})
                        corners << proj.project(sp, pf, adv);
            const QRectF outline = corners.boundingRect();
            const QRectF room = layout.plot.adjusted(layout.labelMargin, layout.labelMargin, -layout.labelMargin,
                                                     -layout.labelMargin);
            EXPECT_NEAR(outline.width(), room.width(), 1e-6) << size.width() << " " << rotation;
            EXPECT_NEAR(outline.height(), room.height(), 1e-6) << size.width() << " " << rotation;
            EXPECT_NEAR(outline.center().x(), room.center().x(), 1e-6);
            EXPECT_NEAR(outline.center().y(), room.center().y(), 1e-6);
            const std::vector<QRectF> labels = paintSurface(painter, image.rect(), scene);
            ASSERT_GE(labels.size(), 10u);
            for (std::size_t i = 0; i < labels.size(); ++i)
                for (std::size_t j = i + 1; j < labels.size(); ++j)
                    EXPECT_FALSE(labels[i].intersects(labels[j])) << size.width() << " " << rotation << " " << i << "," << j;
        }
}

TEST(SurfaceProjection, TheColoursSpanTheAdvanceWindowInForce)
{
    const SurfaceScene scene = makeSurfaceScene(rampMap(), SurfaceLook{}, 8, 30);
    // The axis runs 0 .. 45; the colours change only inside 8 .. 30.
    EXPECT_EQ(scene.advanceLow, 0);
    EXPECT_EQ(scene.colour(0), scene.colour(8));
    EXPECT_EQ(scene.colour(45), scene.colour(30));
    EXPECT_NE(scene.colour(8), scene.colour(9));
    EXPECT_NE(scene.colour(29), scene.colour(30));
}

}  // namespace
