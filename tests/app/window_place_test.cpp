// Where the main window comes back: the stored place when it is sound and
// on a screen attached now, else nothing (the design size, centred).
#include "app/window_place.h"
#include "files/stored_settings.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace tunara::test {
namespace {

TEST(WindowPlace, AStoredPlaceIsTakenOnlyWhenSoundAndOnAScreenAttachedNow)
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
    EXPECT_FALSE(ui::WindowPlace::fromStored(settings, {screens[0]})) << "its screen is gone";

    const struct {
        const char *key;
        const char *value;
    } bad[] = {{"Left", "garbage"}, {"Width", "-900"}, {"Height", "0"},          {"Width", "99999"},
               {"Top", "1e3"},      {"Left", ""},      {"Height", "4294967296"}, {"Top", "-50000"}};
    for (const auto &b : bad) {
        left.save(settings);
        settings.saveSetting(QStringLiteral("Window"), QLatin1String(b.key), QLatin1String(b.value));
        EXPECT_FALSE(ui::WindowPlace::fromStored(settings, screens)) << b.key << "=" << b.value;
    }
}

}  // namespace
}  // namespace tunara::test
