#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

class QWidget;

namespace tunara::ui {

// While a download or upload runs nothing else may touch the image, the
// port or the open table. This one gate stands at every way in: it turns
// away the user's input to the window (clicks, keys but Esc, wheel, context
// menus), every action's shortcut, and files dropped on it; the window asks
// it before it closes or lets a resize reset the port. Dialogs a transfer
// opens (its messages) are windows of their own and stay usable; the tool
// windows that start commands (the tune history) are guarded as the window is.
class BusyGate : public QObject {
    Q_OBJECT
public:
    explicit BusyGate(QWidget &window);

    bool isBusy() const { return m_busy; }
    void setBusy(bool busy);
    // Turns away input to this window too while busy.
    void guard(QWidget &window) { m_others << &window; }
    // The window or one of the guarded ones.
    bool guards(const QWidget *window) const;

signals:
    void busyChanged(bool busy);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool turnsAway(QObject *watched, QEvent *event) const;

    QWidget &m_window;
    QList<QPointer<QWidget>> m_others;
    bool m_busy = false;
};

}  // namespace tunara::ui
