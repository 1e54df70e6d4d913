#include "dialogs/screen_placement.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace tunara::dialogs {

QRect centredWithin(const QRect &available, const QSize &size)
{
    const int left = available.left() + std::max(0, (available.width() - size.width()) / 2);
    const int top = available.top() + std::max(0, (available.height() - size.height()) / 2);
    return QRect(QPoint(left, top), size);
}

namespace {

QScreen *screenOf(const QWidget *owner)
{
    if (owner) {
        // The screen under the owner's centre: the one the user looks at.
        const QWidget *top = owner->window();
        if (QScreen *s = QGuiApplication::screenAt(top->frameGeometry().center()))
            return s;
        if (QScreen *s = top->screen())
            return s;
    }
    return QGuiApplication::primaryScreen();
}

}  // namespace

void centreOnOwnerScreen(QWidget &window, const QWidget *owner)
{
    // A window laid out for its controls alone is widened until its title
    // bar shows the whole caption, a fixed-size one included.
    const int captionWidth = titleBarWidth(window);
    if (window.minimumWidth() < captionWidth)
        window.setMinimumWidth(captionWidth);
    if (window.maximumWidth() < captionWidth)
        window.setMaximumWidth(captionWidth);
    if (window.width() < captionWidth)
        window.resize(captionWidth, window.height());
    QScreen *screen = screenOf(owner);
    if (!screen)
        return;
    // The frame (title bar and borders) is known only once the window has
    // been shown; before that it is estimated from the owner's own frame.
    QSize frameExtra(0, 0);
    if (window.isVisible()) {
        frameExtra = window.frameGeometry().size() - window.geometry().size();
    } else if (owner && owner->window()->isVisible()) {
        const QWidget *top = owner->window();
        frameExtra = top->frameGeometry().size() - top->geometry().size();
    }
    const QRect available = screen->availableGeometry();
    // A window larger than the screen's area is made to fit where it can be.
    const QSize fitted = window.size()
                             .boundedTo(available.size() - frameExtra)
                             .expandedTo(window.minimumSize());
    if (fitted != window.size())
        window.resize(fitted);
    const QRect place = centredWithin(available, window.size() + frameExtra);
    // move() places the frame's top-left corner.
    window.move(place.topLeft());
}

int titleBarWidth(const QWidget &window)
{
    QFont font = QGuiApplication::font();
    font.setBold(true);
    const QFontMetrics metrics(font);
    // The icon, three buttons and the padding between them, each about a
    // line high.
    constexpr int lineHeights = 8;
    return metrics.horizontalAdvance(window.windowTitle()) + lineHeights * metrics.height();
}

int twipsToPixelsFor(const QWidget &widget, double twips)
{
    const double dpi = widget.logicalDpiY() > 0 ? widget.logicalDpiY() : 96.0;
    return static_cast<int>(std::lround(twips * dpi / 1440.0));
}

}  // namespace tunara::dialogs
