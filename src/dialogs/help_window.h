#pragma once

#include <QMainWindow>

class QTextBrowser;

namespace tunara::ui {

// The in-program help viewer: HTML pages of our own with a contents page,
// back/forward/contents buttons, links between pages.
class HelpWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget *owner = nullptr);

    // Opens the contents page; it stays the target of the Contents button.
    void showContents(const QString &contentsPage);

    QTextBrowser *browser() const { return m_browser; }

private:
    QTextBrowser *m_browser;
};

}  // namespace tunara::ui
