#include "app/busy_gate.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include <algorithm>

namespace tunara::ui {

BusyGate::BusyGate(QWidget &window) : QObject(&window), m_window(window) {}

void BusyGate::setBusy(bool busy)
{
    if (busy == m_busy)
        return;
    m_busy = busy;
    // Watches the whole application only while it matters.
    if (busy)
        qApp->installEventFilter(this);
    else
        qApp->removeEventFilter(this);
    emit busyChanged(busy);
}

bool BusyGate::guards(const QWidget *window) const
{
    return window == &m_window || std::any_of(m_others.begin(), m_others.end(), [window](const QPointer<QWidget> &w) {
               return w && w == window;
           });
}

bool BusyGate::eventFilter(QObject *watched, QEvent *event)
{
    return m_busy && turnsAway(watched, event);
}

bool BusyGate::turnsAway(QObject *watched, QEvent *event) const
{
    switch (event->type()) {
    case QEvent::Shortcut:
    case QEvent::ShortcutOverride:
        if (event->type() == QEvent::ShortcutOverride && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape)
            return false;
        // The actions' shortcuts and the guarded windows' own; a question the
        // transfer asks keeps its Alt+Y and Alt+N.
        return qobject_cast<QAction *>(watched) ||
               (watched->isWidgetType() && guards(static_cast<QWidget *>(watched)->window()));
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        if (static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape)
            return false;  // Esc stops the transfer
        [[fallthrough]];
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop: return watched->isWidgetType() && guards(static_cast<QWidget *>(watched)->window());
    default: return false;
    }
}

}  // namespace tunara::ui
