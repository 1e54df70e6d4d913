#pragma once

#include "charts/surface_look.h"

#include <QPoint>
#include <QWidget>

#include <optional>

namespace tunara::views {

// The 3D surface chart on screen: draws its scene with
// charts::paintSurface() and answers the editor's questions (hit test, value
// under a pixel) from the same projection, so what is drawn and what is
// picked always agree.
//
// It holds a copy of the values for drawing only; the table views hand it
// the values of the editing model, and a drag previews in it until the
// release commits. The user turns the view with the right button held
// (sideways: rotation, up and down: elevation), zooms with the wheel, and
// returns to the template's view with the middle button or the Home key.
class SurfaceChart : public QWidget {
    Q_OBJECT
public:
    explicit SurfaceChart(QWidget *parent = nullptr);

    // A new look also brings back its view.
    void setLook(const charts::SurfaceLook &look);
    const charts::SurfaceLook &look() const { return m_scene.look; }
    void setPressureLabels(const QStringList &labels);

    // The values on view: (speed point 1..21, pressure index 1..8). A whole
    // surface sets the advance scale; single values (drag previews) keep it.
    void setSurface(const Table3D &values);
    const Table3D &surface() const { return m_scene.values; }
    double value(int point, int pressureIndex) const { return m_scene.values(point, pressureIndex); }
    void setValue(int point, int pressureIndex, double v);
    // A range the advance scale always covers (the window values may take),
    // so a drag never rescales the picture under the mouse.
    void setEditWindow(double low, double high);
    // Another table shown as a wireframe over the surface; nothing: none.
    // The advance scale widens to hold it.
    void setWireframe(const std::optional<Table3D> &values);
    const std::optional<Table3D> &wireframe() const { return m_scene.wireframe; }

    void showValueLabel(const QString &text, int point, int pressureIndex);
    void hideValueLabel();
    bool isValueLabelVisible() const { return m_scene.label.visible; }
    const charts::SurfaceLabel &valueLabel() const { return m_scene.label; }

    charts::SurfaceViewAngles viewAngles() const { return m_scene.view; }
    void setViewAngles(const charts::SurfaceViewAngles &view);
    void resetView();

    const charts::SurfaceScene &scene() const { return m_scene; }
    charts::SurfaceProjection projection() const;
    charts::SurfaceHit hitTest(const QPoint &pixel) const;
    std::optional<double> valueUnder(int point, int pressureIndex, const QPoint &pixel) const;

signals:
    // Every button and move on the chart, positions in whole pixels.
    void chartMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pos);
    void chartMouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, QPoint pos);
    void chartMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pos);
    // The user began turning the view (raised before that press's
    // chartMouseDown; the gesture ends with the next chartMouseUp).
    void viewGestureStarted();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void rescale();

    charts::SurfaceScene m_scene;
    double m_windowLow = 0;
    double m_windowHigh = 0;
    bool m_turning = false;
    QPoint m_turnFrom;
    charts::SurfaceViewAngles m_turnStart;
};

}  // namespace tunara::views
