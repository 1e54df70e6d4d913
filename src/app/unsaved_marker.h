#pragma once

#include <QObject>

class QWidget;

namespace tunara {
class ModuleDocument;
}

namespace tunara::ui {

// The window's modified marker (the platform's "*" in the caption) follows
// the document's unsaved-work state, the one the exit question asks about.
// The caption carries the "[*]" placeholder only while there is unsaved
// work, so it reads exactly as before whenever everything is saved.
class UnsavedMarker : public QObject {
    Q_OBJECT
public:
    UnsavedMarker(QWidget &window, const ModuleDocument &document);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void show(bool unsaved);

    QWidget &m_window;
};

}  // namespace tunara::ui
