#include "dialogs/screen_placement.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
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

QMargins frameMarginsOf(const QWidget &window, const QWidget *owner)
{
    const auto marginsOf = [](const QWidget &w) {
        const QRect outer = w.frameGeometry();
        const QRect inner = w.geometry();
        return QMargins(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                        outer.bottom() - inner.bottom());
    };
    // A window just being shown has no frame yet either.
    if (window.isVisible() && !marginsOf(window).isNull())
        return marginsOf(window);
    if (owner && owner->window()->isVisible() && !owner->window()->isMaximized()) {
        const QMargins m = marginsOf(*owner->window());
        if (!m.isNull())
            return m;
    }
    // Not known before the window manager has framed a window: a title bar
    // of about two lines and a thin border is the usual size.
    const int border = 4;
    const int title = window.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &window);
    return QMargins(border, std::max(title, 2 * window.fontMetrics().height()) + border, border, border);
}

void centreOnOwnerScreen(QWidget &window, const QWidget *owner)
{
    QScreen *screen = screenOf(owner);
    const QMargins frame = frameMarginsOf(window, owner);
    const QSize frameExtra(frame.left() + frame.right(), frame.top() + frame.bottom());
    const QRect available = screen ? screen->availableGeometry() : QRect();
    // A window laid out for its controls alone is widened until its title
    // bar shows the whole caption, a fixed-size one included, but never
    // beyond the screen.
    int captionWidth = titleBarWidth(window);
    if (screen)
        captionWidth = std::min(captionWidth, available.width() - frameExtra.width());
    if (window.minimumWidth() < captionWidth)
        window.setMinimumWidth(captionWidth);
    if (window.maximumWidth() < captionWidth)
        window.setMaximumWidth(captionWidth);
    if (window.width() < captionWidth)
        window.resize(captionWidth, window.height());
    if (!screen)
        return;
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
