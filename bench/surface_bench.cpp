// surface_bench: times the 3D advance map chart at 1280 x 720 in software
// rendering (a QImage) and prints, per step, the median and the slowest of
// the runs:
//   - a full redraw of the surface chart;
//   - one drag step: the mouse move handled, the value computed and the
//     surface repainted;
//   - one rotation step: a right-button move turning the view, repainted.
//
//   surface_bench [--runs N] [--template FILE.oc3] [--png FILE]
//
// --png saves the first picture and the last (turned) one, to look at.

#include "views/chart_3d_view.h"
#include "dialogs/qt_user_interface.h"
#include "views/timing_grid.h"
#include "editor/table_edit_model.h"
#include "views/curve_2d_editor.h"
#include "views/map_3d_display.h"
#include "views/map_3d_editor.h"
#include "views/table_grid_binding.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <functional>
#include <vector>

using namespace tunara;
using namespace tunara::ui;

namespace {

// A map shaped like a real one: more advance with speed, less with load.
Table3D sampleMap()
{
    Table3D t;
    for (int p = 1; p <= SpeedPoints; ++p)
        for (int m = 1; m <= PressureRows; ++m)
            t(p, m) = std::round((10 + 18 * std::sqrt((p - 1) / 20.0) - 1.2 * (PressureRows - m)) * 5) / 5;
    return t;
}

void send(QWidget &w, QEvent::Type type, const QPoint &pos, Qt::MouseButton button, Qt::MouseButtons buttons)
{
    QMouseEvent e(type, QPointF(pos), w.mapToGlobal(QPointF(pos)), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(&w, &e);
}

struct Figures {
    double median = 0;
    double slowest = 0;
};

Figures timeRuns(int runs, const std::function<void(int)> &step)
{
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        const auto t0 = std::chrono::steady_clock::now();
        step(i);
        ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
    }
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], ms.back()};
}

void print(const char *what, const Figures &f)
{
    std::printf("%-44s median %7.2f ms   slowest %7.2f ms\n", what, f.median, f.slowest);
}

}  // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addOption({QStringLiteral("runs"), QStringLiteral("Runs per figure."), QStringLiteral("N"), "200"});
    parser.addOption({QStringLiteral("template"), QStringLiteral("Chart template."), QStringLiteral("FILE")});
    parser.addOption({QStringLiteral("png"), QStringLiteral("Save pictures."), QStringLiteral("FILE")});
    parser.process(app);
    const int runs = std::max(1, parser.value(QStringLiteral("runs")).toInt());

    QtUserInterface ui;
    QWidget owner;
    views::TimingGrid grid(QStringLiteral("VSFlexGrid2"), PressureRows + 1, SpeedPoints + 1, &owner);
    views::setupGrid3D(grid, 1);
    editor::TableEditModel model;
    views::TableGridBinding binding(grid, model, editor::TableKind::Map3D, ui, &owner);
    views::Chart3DView chart;
    if (parser.isSet(QStringLiteral("template")) && !chart.loadTemplate(parser.value(QStringLiteral("template"))))
        std::fprintf(stderr, "template not loaded; default look\n");
    views::ChartGestureState gesture;
    views::Map3DDisplay display(chart, binding, model);
    views::Map3DEditor editor(chart, binding, model, gesture);
    chart.resize(1280, 720);
    model.open3D(sampleMap(), 30);

    QImage image(1280, 720, QImage::Format_ARGB32_Premultiplied);
    const auto repaint = [&] { chart.render(&image); };
    std::printf("3D map chart, 1280 x 720, software rendering, %d runs each\n", runs);
    print("full redraw", timeRuns(runs, [&](int) { repaint(); }));
    const QString png = parser.value(QStringLiteral("png"));
    if (!png.isEmpty())
        image.save(png);

    // Catch the point at 5000 RPM on the middle pressure row, then move up
    // and down along its line.
    const QPoint caught = chart.projection().gridPoint(11, 4, chart.value(11, 4)).toPoint();
    send(chart, QEvent::MouseButtonPress, caught, Qt::LeftButton, Qt::LeftButton);
    if (editor.HitRow == 0)
        std::fprintf(stderr, "the drag did not catch a point\n");
    print("drag step (move, value, repaint)", timeRuns(runs, [&](int i) {
              send(chart, QEvent::MouseMove, caught + QPoint(0, (i % 40) - 20), Qt::NoButton, Qt::LeftButton);
              repaint();
          }));
    send(chart, QEvent::MouseButtonRelease, caught, Qt::LeftButton, Qt::NoButton);

    const QPoint from(640, 360);
    send(chart, QEvent::MouseButtonPress, from, Qt::RightButton, Qt::RightButton);
    print("rotation step (move, turn, repaint)", timeRuns(runs, [&](int i) {
              send(chart, QEvent::MouseMove, from + QPoint(i % 360, (i % 60) - 30), Qt::NoButton, Qt::RightButton);
              repaint();
          }));
    send(chart, QEvent::MouseButtonRelease, from, Qt::RightButton, Qt::NoButton);

    if (!png.isEmpty())
        image.save(QString(png).replace(QStringLiteral(".png"), QStringLiteral("-turned.png")));
    return 0;
}
