// drag_bench: times one drag step on the 2D timing chart: the mouse move
// handled (the new value worked out, the point and its label moved) and the
// chart repainted, at a 1280 x 720 chart drawn in software (the offscreen
// platform unless QT_QPA_PLATFORM says otherwise). Prints the spread of the
// step times and the heap in use before and after the steps.
//
//   drag_bench [--steps N]

#include "views/chart_2d_view.h"
#include "dialogs/qt_user_interface.h"
#include "views/timing_grid.h"
#include "editor/table_edit_model.h"
#include "tables/table_axes.h"
#include "views/curve_2d_editor.h"
#include "views/table_grid_binding.h"

#include <QApplication>
#include <QChart>
#include <QCommandLineParser>
#include <QDir>
#include <QLineSeries>
#include <QMouseEvent>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <malloc.h>
#include <vector>

using namespace tunara;
using Clock = std::chrono::steady_clock;

namespace {

double ms(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

// CPU time of this thread in milliseconds: the work of a step without the
// waits for a core on a busy machine.
double threadCpuMs()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

void sendMouse(QWidget *target, QEvent::Type type, const QPoint &pos, Qt::MouseButton button, Qt::MouseButtons held)
{
    QMouseEvent e(type, QPointF(pos), target->mapToGlobal(QPointF(pos)), button, held, Qt::NoModifier);
    QApplication::sendEvent(target, &e);
}

std::size_t heapInUse()
{
    return mallinfo2().uordblks;
}

void printSpread(const char *what, std::vector<double> t)
{
    std::sort(t.begin(), t.end());
    double sum = 0;
    for (double v : t)
        sum += v;
    const auto at = [&t](double q) { return t[std::min(t.size() - 1, std::size_t(q * double(t.size())))]; };
    std::printf("%-28s mean %.3f ms  median %.3f  p99 %.3f  max %.3f\n", what, sum / double(t.size()), at(0.5),
                at(0.99), t.back());
}

}  // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption stepsOption(QStringLiteral("steps"), QStringLiteral("Drag steps to time."),
                                         QStringLiteral("N"), QStringLiteral("10000"));
    parser.addOption(stepsOption);
    parser.process(app);
    const int steps = std::max(100, parser.value(stepsOption).toInt());

    ui::QtUserInterface userInterface;
    QWidget window;
    window.resize(1280, 720);
    auto *chart = new views::Chart2DView(&window);
    chart->setGeometry(0, 0, 1280, 720);
    auto *grid = new views::TimingGrid(QStringLiteral("VSFlexGrid1"), 2, SpeedPoints + 1, &window);
    grid->hide();
    views::setupGrid2D(*grid);
    const QString templatePath = QDir(QCoreApplication::applicationDirPath()).filePath(axes::template2DFileName());
    if (!chart->loadTemplate(templatePath))
        std::fprintf(stderr, "template %s not loaded; timing the plain chart\n", qPrintable(templatePath));

    editor::TableEditModel model;
    views::ChartGestureState gesture;
    views::TableGridBinding binding(*grid, model, editor::TableKind::Curve2D, userInterface, &window);
    views::Curve2DEditor dragger(*chart, binding, model, gesture);
    Table2D table;
    for (int p = 1; p <= SpeedPoints; ++p) {
        table(p, 1) = 20;
        table(p, 2) = 40;
    }
    model.open2D(table, 40);
    window.show();
    QCoreApplication::processEvents();

    QLineSeries *curve = chart->curveSeries();
    const QPointF inChart = chart->chart()->mapToPosition(curve->at(10), curve);
    const QPoint start = chart->mapFromScene(chart->chart()->mapToScene(inChart));
    QWidget *viewport = chart->viewport();
    sendMouse(viewport, QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton);

    // The mouse goes up and down 100 pixels around the press, so the value
    // and the repainted area change at every step.
    const auto yAt = [&start](int i) { return start.y() + (std::abs((i % 400) - 200) - 100); };
    std::vector<double> cpuTimes;
    cpuTimes.reserve(std::size_t(steps));
    const auto step = [&](int i, std::vector<double> *moveTimes, std::vector<double> *stepTimes) {
        const double c0 = threadCpuMs();
        const Clock::time_point t0 = Clock::now();
        sendMouse(viewport, QEvent::MouseMove, QPoint(start.x(), yAt(i)), Qt::NoButton, Qt::LeftButton);
        const Clock::time_point t1 = Clock::now();
        QCoreApplication::processEvents();
        viewport->repaint();
        const Clock::time_point t2 = Clock::now();
        const double c2 = threadCpuMs();
        if (moveTimes) {
            cpuTimes.push_back(c2 - c0);
            moveTimes->push_back(ms(t1 - t0));
            stepTimes->push_back(ms(t2 - t0));
        }
    };
    for (int i = 0; i < 500; ++i)  // warm-up: caches, glyphs, first allocations
        step(i, nullptr, nullptr);

    std::vector<double> moveTimes, stepTimes;
    moveTimes.reserve(std::size_t(steps));
    stepTimes.reserve(std::size_t(steps));
    const std::size_t heapBefore = heapInUse();
    for (int i = 0; i < steps; ++i)
        step(i, &moveTimes, &stepTimes);
    const std::size_t heapAfter = heapInUse();
    sendMouse(viewport, QEvent::MouseButtonRelease, QPoint(start.x(), yAt(steps)), Qt::LeftButton, Qt::NoButton);

    std::printf("drag_bench: %d steps on a %dx%d chart, platform %s\n", steps, chart->width(), chart->height(),
                qPrintable(QGuiApplication::platformName()));
    printSpread("mouse move handled:", moveTimes);
    printSpread("move + repaint (one step):", stepTimes);
    printSpread("  the same in CPU time:", cpuTimes);
    std::printf("heap in use: %zu bytes before, %zu after (%+lld)\n", heapBefore, heapAfter,
                static_cast<long long>(heapAfter) - static_cast<long long>(heapBefore));
    std::printf("the release committed %.1f degrees (%s)\n", model.value(0, 10),
                model.canUndo() ? "one undo step" : "no undo step");
    return 0;
}
