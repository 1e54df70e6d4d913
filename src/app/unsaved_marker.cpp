#include "app/unsaved_marker.h"

#include "module/module_document.h"

#include <QEvent>
#include <QWidget>

namespace tunara::ui {

namespace {

const QString Placeholder = QStringLiteral("[*]");

}  // namespace

UnsavedMarker::UnsavedMarker(QWidget &window, const ModuleDocument &document) : QObject(&window), m_window(window)
{
    window.installEventFilter(this);
    connect(&document, &ModuleDocument::modifiedChanged, this, &UnsavedMarker::show);
    show(document.isModified());
}

void UnsavedMarker::show(bool unsaved)
{
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
