#pragma once

#include <QObject>
#include <QTimer>

#include <functional>

class QWidget;

namespace tunara::ui {

// The window's modified marker (the platform's "*" in the caption) follows
// the unsaved-work test the exit question uses. The caption carries the
// "[*]" placeholder only while there is unsaved work, so it reads exactly as
// before whenever everything is saved.
class UnsavedMarker : public QObject {
    Q_OBJECT
public:
    UnsavedMarker(QWidget &window, std::function<bool()> unsavedWork);

    // Brings the marker in step with the test now.
    void sync();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget &m_window;
    std::function<bool()> m_unsavedWork;
    QTimer m_poll;
};

}  // namespace tunara::ui
