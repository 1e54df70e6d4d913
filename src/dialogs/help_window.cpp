#include "dialogs/help_window.h"

#include "dialogs/help_browser.h"

#include <QAction>
#include <QTextBrowser>
#include <QToolBar>
#include <QUrl>

namespace tunara::ui {

HelpWindow::HelpWindow(QWidget *owner) : QMainWindow(owner, Qt::Window), m_browser(new HelpBrowser(this))
{
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(QStringLiteral("Tunara Torvik Zoruro Help"));
    m_browser->setObjectName(QStringLiteral("txtHelp"));
    // Links inside the help stay in the viewer; outside addresses go to the
    // desktop's browser.
    m_browser->setOpenExternalLinks(true);
    setCentralWidget(m_browser);

    QToolBar *bar = addToolBar(QStringLiteral("Navigation"));
    bar->setMovable(false);
    QAction *contents = bar->addAction(QStringLiteral("Contents"));
    QAction *back = bar->addAction(QStringLiteral("Back"));
    QAction *forward = bar->addAction(QStringLiteral("Forward"));
    back->setEnabled(false);
    forward->setEnabled(false);
    connect(contents, &QAction::triggered, m_browser, &QTextBrowser::home);
    connect(back, &QAction::triggered, m_browser, &QTextBrowser::backward);
    connect(forward, &QAction::triggered, m_browser, &QTextBrowser::forward);
    connect(m_browser, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
    connect(m_browser, &QTextBrowser::sourceChanged, this, [this] {
        const QString title = m_browser->documentTitle();
        setWindowTitle(title.isEmpty() ? QStringLiteral("Tunara Torvik Zoruro Help") : title);
    });
    resize(760, 640);
}

void HelpWindow::showContents(const QString &contentsPage)
{
    m_browser->setSource(QUrl::fromLocalFile(contentsPage));
    m_browser->clearHistory();
}

}  // namespace tunara::ui
