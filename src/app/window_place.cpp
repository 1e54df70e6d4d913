#include "app/window_place.h"

#include "dialogs/screen_placement.h"
#include "files/stored_settings.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
#include <QWidget>

#include <algorithm>

namespace tunara::ui {

namespace {

const QString Section = QStringLiteral("Window");
const char *const Keys[] = {"Left", "Top", "Width", "Height"};

QList<QRect> availableScreens()
{
    QList<QRect> rects;
    if (const QScreen *primary = QGuiApplication::primaryScreen())
        rects << primary->availableGeometry();
    for (const QScreen *screen : QGuiApplication::screens()) {
        if (screen != QGuiApplication::primaryScreen())
            rects << screen->availableGeometry();
    }
    return rects;
}

qint64 overlapArea(const QRect &a, const QRect &b)
{
    const QRect both = a.intersected(b);
    return both.isEmpty() ? 0 : qint64(both.width()) * both.height();
}

const QRect *screenFor(const QRect &outer, const QList<QRect> &screens)
{
    for (const QRect &screen : screens) {
        if (screen.contains(outer.center()))
            return &screen;
    }
    const QRect *best = &screens.front();
    for (const QRect &screen : screens) {
        if (overlapArea(outer, screen) > overlapArea(outer, *best))
            best = &screen;
    }
    return best;
}

// The place a window has now. Hidden by closing, a window manager may
// already have taken its maximised state away; the place it had when it
// was closed is kept for that.
class PlaceKeeper : public QObject {
public:
    explicit PlaceKeeper(QWidget &window) : QObject(&window), m_window(window) { window.installEventFilter(this); }

    WindowPlace place() const
    {
        if (!m_window.isVisible() && m_atClose)
            return *m_atClose;
        return current();
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == &m_window && event->type() == QEvent::Hide)
            m_atClose = current();
        else if (watched == &m_window && event->type() == QEvent::Show)
            m_atClose.reset();
        return false;
    }

private:
    WindowPlace current() const
    {
        const bool maximized = m_window.isMaximized();
        return WindowPlace{maximized ? m_window.normalGeometry() : m_window.geometry(), maximized};
    }

    QWidget &m_window;
    std::optional<WindowPlace> m_atClose;
};

}  // namespace

std::optional<WindowPlace> WindowPlace::fromStored(const StoredSettings &settings, const QList<QRect> &screens,
                                                   const QMargins &frame)
{
    int v[4];
    for (int k = 0; k < 4; ++k) {
        bool ok = false;
        v[k] = settings.getSetting(Section, QLatin1String(Keys[k]), QString()).trimmed().toInt(&ok);
        if (!ok)
            return std::nullopt;
    }
    const QRect normal(v[0], v[1], v[2], v[3]);
    if (normal.width() <= 0 || normal.height() <= 0)
        return std::nullopt;
    const QString max = settings.getSetting(Section, QStringLiteral("Maximized"), QString());
    return WindowPlace{normal, max.trimmed() == QStringLiteral("1")}.pulledOnto(screens, frame);
}

void WindowPlace::save(StoredSettings &settings) const
{
    const int v[4] = {normal.x(), normal.y(), normal.width(), normal.height()};
    for (int k = 0; k < 4; ++k)
        settings.saveSetting(Section, QLatin1String(Keys[k]), QString::number(v[k]));
    settings.saveSetting(Section, QStringLiteral("Maximized"), maximized ? QStringLiteral("1") : QStringLiteral("0"));
}

WindowPlace WindowPlace::pulledOnto(const QList<QRect> &screens, const QMargins &frame) const
{
    if (screens.isEmpty())
        return *this;
    const QRect &screen = *screenFor(normal.marginsAdded(frame), screens);
    // The room the window's own area has, its frame kept inside the screen.
    const QRect room = screen.marginsRemoved(frame);
    const QSize size = normal.size().boundedTo(room.size()).expandedTo(QSize(1, 1));
    const int left = std::clamp(normal.left(), room.left(), std::max(room.left(), room.right() + 1 - size.width()));
    const int top = std::clamp(normal.top(), room.top(), std::max(room.top(), room.bottom() + 1 - size.height()));
    return WindowPlace{QRect(QPoint(left, top), size), maximized};
}

void restoreWindowPlace(QWidget &window, const StoredSettings &settings)
{
    if (!window.findChild<PlaceKeeper *>(QString(), Qt::FindDirectChildrenOnly))
        new PlaceKeeper(window);
    const QMargins frame = dialogs::frameMarginsOf(window, nullptr);
    const std::optional<WindowPlace> place = WindowPlace::fromStored(settings, availableScreens(), frame);
    if (!place) {
        if (const QScreen *primary = QGuiApplication::primaryScreen()) {
            const QRect available = primary->availableGeometry();
            window.resize(window.size().boundedTo(available.marginsRemoved(frame).size()));
            window.move(dialogs::centredWithin(available, window.size().grownBy(frame)).topLeft());
        }
        return;
    }
    window.setGeometry(place->normal);
    if (place->maximized)
        window.setWindowState(window.windowState() | Qt::WindowMaximized);
}

void saveWindowPlace(const QWidget &window, StoredSettings &settings)
{
    const auto *keeper = window.findChild<PlaceKeeper *>(QString(), Qt::FindDirectChildrenOnly);
    WindowPlace place =
        keeper ? keeper->place()
               : WindowPlace{window.isMaximized() ? window.normalGeometry() : window.geometry(), window.isMaximized()};
    // Never stored where the next start would put the title bar off screen.
    place = place.pulledOnto(availableScreens(), dialogs::frameMarginsOf(window, nullptr));
    place.save(settings);
}

}  // namespace tunara::ui
