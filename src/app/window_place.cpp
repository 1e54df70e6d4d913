#include "app/window_place.h"

#include "files/stored_settings.h"

#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
#include <QWidget>

namespace tunara::ui {

namespace {

const QString Section = QStringLiteral("Window");
const char *const Keys[] = {"Left", "Top", "Width", "Height"};

QList<QRect> availableScreens()
{
    QList<QRect> rects;
    for (const QScreen *screen : QGuiApplication::screens())
        rects << screen->availableGeometry();
    return rects;
}

}  // namespace

std::optional<WindowPlace> WindowPlace::fromStored(const StoredSettings &settings, const QList<QRect> &screens)
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
    for (const QRect &screen : screens) {
        if (screen.contains(normal.center()) && normal.width() <= screen.width() && normal.height() <= screen.height()) {
            const QString max = settings.getSetting(Section, QStringLiteral("Maximized"), QString());
            return WindowPlace{normal, max == QStringLiteral("1")};
        }
    }
    return std::nullopt;
}

void WindowPlace::save(StoredSettings &settings) const
{
    const int v[4] = {normal.x(), normal.y(), normal.width(), normal.height()};
    for (int k = 0; k < 4; ++k)
        settings.saveSetting(Section, QLatin1String(Keys[k]), QString::number(v[k]));
    settings.saveSetting(Section, QStringLiteral("Maximized"), maximized ? QStringLiteral("1") : QStringLiteral("0"));
}

void restoreWindowPlace(QWidget &window, const StoredSettings &settings)
{
    const std::optional<WindowPlace> place = WindowPlace::fromStored(settings, availableScreens());
    if (!place) {
        if (const QScreen *primary = QGuiApplication::primaryScreen())
            window.setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, window.size(),
                                                   primary->availableGeometry()));
        return;
    }
    window.setGeometry(place->normal);
    if (place->maximized)
        window.setWindowState(window.windowState() | Qt::WindowMaximized);
}

void saveWindowPlace(const QWidget &window, StoredSettings &settings)
{
    const bool maximized = window.isMaximized();
    WindowPlace{maximized ? window.normalGeometry() : window.geometry(), maximized}.save(settings);
}

}  // namespace tunara::ui
