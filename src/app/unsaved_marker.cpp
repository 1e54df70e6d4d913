#include "app/unsaved_marker.h"

#include <QEvent>
#include <QWidget>

namespace tunara::ui {

namespace {

const QString Placeholder = QStringLiteral("[*]");

}  // namespace

UnsavedMarker::UnsavedMarker(QWidget &window, std::function<bool()> unsavedWork)
    : QObject(&window), m_window(window), m_unsavedWork(std::move(unsavedWork))
{
    window.installEventFilter(this);
    // Work becomes unsaved in many places (dialogs, transfers, the table
    // editor); asking the one test often is simpler than hearing from each.
    connect(&m_poll, &QTimer::timeout, this, &UnsavedMarker::sync);
    m_poll.start(250);
}

void UnsavedMarker::sync()
{
    const bool unsaved = m_unsavedWork();
    QString title = m_window.windowTitle();
    const bool marked = title.endsWith(Placeholder);
    if (unsaved && !marked) {
        m_window.setWindowTitle(title + Placeholder);
    } else if (!unsaved && marked) {
        m_window.setWindowModified(false);
        title.chop(Placeholder.size());
        m_window.setWindowTitle(title);
    }
    m_window.setWindowModified(unsaved);
}

bool UnsavedMarker::eventFilter(QObject *watched, QEvent *event)
{
    // A command that sets a new caption while work is unsaved keeps the mark.
    if (watched == &m_window && event->type() == QEvent::WindowTitleChange && m_window.isWindowModified() &&
        !m_window.windowTitle().endsWith(Placeholder))
        m_window.setWindowTitle(m_window.windowTitle() + Placeholder);
    return false;
}

}  // namespace tunara::ui
