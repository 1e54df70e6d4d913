#include "app/busy_gate.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

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

bool BusyGate::eventFilter(QObject *watched, QEvent *event)
{
    return m_busy && turnsAway(watched, event);
}

bool BusyGate::turnsAway(QObject *watched, QEvent *event) const
{
    switch (event->type()) {
    case QEvent::Shortcut:
    case QEvent::ShortcutOverride:
        return !(event->type() == QEvent::ShortcutOverride && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape);
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
    case QEvent::Drop: return watched->isWidgetType() && static_cast<QWidget *>(watched)->window() == &m_window;
    default: return false;
    }
}

}  // namespace tunara::ui
