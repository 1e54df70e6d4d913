// Where the main window comes back: the stored place when it is sound,
// pulled onto a screen attached now with its title bar on it; nothing (the
// design size, centred) for garbage.
#include "app/window_place.h"
#include "files/stored_settings.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace tunara::test {
namespace {

TEST(WindowPlace, AStoredPlaceIsTakenWhenSoundAndPulledOntoAScreenAttachedNow)
{
    QTemporaryDir dir;
    StoredSettings settings = StoredSettings::atFile(dir.filePath(QStringLiteral("s.ini")));
    const QList<QRect> screens = {QRect(0, 0, 1920, 1080), QRect(1920, 0, 1280, 1024)};
    EXPECT_FALSE(ui::WindowPlace::fromStored(settings, screens)) << "first start";

    const ui::WindowPlace left{QRect(2000, 100, 900, 700), true};
    left.save(settings);
    const std::optional<ui::WindowPlace> back = ui::WindowPlace::fromStored(settings, screens);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->normal, left.normal);
    EXPECT_TRUE(back->maximized);
    // Its 3000-pixel screen gone, it lands whole on the one left, still
    // maximised.
    const std::optional<ui::WindowPlace> moved = ui::WindowPlace::fromStored(settings, {screens[0]});
    ASSERT_TRUE(moved);
    EXPECT_TRUE(screens[0].contains(moved->normal));
    EXPECT_EQ(moved->normal.size(), left.normal.size());
    EXPECT_TRUE(moved->maximized);

    const struct {
        const char *key;
        const char *value;
    } bad[] = {{"Left", "garbage"}, {"Width", "-900"}, {"Height", "0"},
               {"Top", "1e3"},      {"Left", ""},      {"Height", "4294967296"}};
    for (const auto &b : bad) {
        left.save(settings);
        settings.saveSetting(QStringLiteral("Window"), QLatin1String(b.key), QLatin1String(b.value));
        EXPECT_FALSE(ui::WindowPlace::fromStored(settings, screens)) << b.key << "=" << b.value;
    }
}

TEST(WindowPlace, APlaceOffEveryScreenIsPulledInWithItsFrame)
{
    const QList<QRect> screens = {QRect(0, 0, 1366, 728), QRect(1366, 0, 1920, 1040)};
    const QMargins frame(4, 28, 4, 4);
    const auto whole = [&](const ui::WindowPlace &p, const QRect &screen) {
        return screen.contains(p.normal.marginsAdded(frame));
    };

    // Above and left of the screen: the title bar comes back on it.
    const ui::WindowPlace above = ui::WindowPlace{QRect(-60, -40, 900, 600), false}.pulledOnto(screens, frame);
    EXPECT_EQ(above.normal, QRect(4, 28, 900, 600));

    // Far off (a screen of a 3000-pixel desktop that is gone), larger than
    // the screen it overlaps: moved and made to fit.
    const ui::WindowPlace gone{QRect(2900, 300, 2000, 1200), true};
    const ui::WindowPlace right = gone.pulledOnto(screens, frame);
    EXPECT_TRUE(whole(right, screens[1]));
    EXPECT_EQ(right.normal.size(), QSize(1920 - 8, 1040 - 32));
    EXPECT_TRUE(right.maximized);
    const ui::WindowPlace nowhere = ui::WindowPlace{QRect(-9000, -9000, 800, 600), false}.pulledOnto(screens, frame);
    EXPECT_TRUE(whole(nowhere, screens[0])) << "nowhere near a screen: the primary";

    // Whole already: left alone.
    const ui::WindowPlace fine{QRect(1500, 100, 900, 700), false};
    EXPECT_EQ(fine.pulledOnto(screens, frame).normal, fine.normal);

    // Stored off the screen and read back: pulled in before it is shown.
    QTemporaryDir dir;
    StoredSettings settings = StoredSettings::atFile(dir.filePath(QStringLiteral("s.ini")));
    ui::WindowPlace{QRect(-60, -40, 900, 600), false}.save(settings);
    const std::optional<ui::WindowPlace> read = ui::WindowPlace::fromStored(settings, screens, frame);
    ASSERT_TRUE(read);
    EXPECT_TRUE(whole(*read, screens[0]));
}

}  // namespace
}  // namespace tunara::test
