#include "app/table_editor_fixture.h"

#include "views/chart_2d_view.h"

#include <QApplication>
#include <QChart>
#include <QLineSeries>
#include <QTest>

namespace tunara::test {

void TableEditorTest::SetUp()
{
    AppTest::SetUp();
    installAll();
}

ui::frmTunara_Main &TableEditorTest::shown()
{
    ui::frmTunara_Main &w = loadWindow();
    w.resize(1000, 700);
    w.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&w));
    return w;
}

void TableEditorTest::chooseTable(bool twoD, int trigTiming)
{
    data.params.TimingTable2D = twoD;
    data.params.TimingTable3D = !twoD;
    data.params.TrigTiming = trigTiming;
    data.image.DataBufferEmpty = false;
    for (int p = 1; p <= SpeedPoints; ++p) {
        data.tables.table2D(p, 1) = 10 + p;
        data.tables.table2D(p, 2) = trigTiming;
        for (int m = 1; m <= PressureRows; ++m)
            data.tables.table3D(p, m) = 20;
    }
    window->applyTableMenuRule();
}

QPoint TableEditorTest::pointPixel(int series, int point) const
{
    views::Chart2DView *view = window->chart2D();
    QLineSeries *s = series == 1 ? view->curveSeries() : view->triggerSeries();
    const QPointF inChart = view->chart()->mapToPosition(s->at(point - 1), s);
    return view->mapFromScene(view->chart()->mapToScene(inChart));
}

void TableEditorTest::mouse(QEvent::Type type, const QPoint &pos, Qt::MouseButton button, Qt::MouseButtons buttons,
                            Qt::KeyboardModifiers modifiers)
{
    QWidget *target = window->chart2D()->viewport();
    QMouseEvent e(type, QPointF(pos), target->mapToGlobal(QPointF(pos)), button, buttons, modifiers);
    QApplication::sendEvent(target, &e);
}

void TableEditorTest::press(const QPoint &pos, Qt::KeyboardModifiers m)
{
    mouse(QEvent::MouseButtonPress, pos, Qt::LeftButton, Qt::LeftButton, m);
}

void TableEditorTest::moveTo(const QPoint &pos, Qt::KeyboardModifiers m)
{
    mouse(QEvent::MouseMove, pos, Qt::NoButton, Qt::LeftButton, m);
}

void TableEditorTest::release(const QPoint &pos, Qt::KeyboardModifiers m)
{
    mouse(QEvent::MouseButtonRelease, pos, Qt::LeftButton, Qt::NoButton, m);
}

}  // namespace tunara::test
