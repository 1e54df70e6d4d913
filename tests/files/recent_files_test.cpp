// The recent-file list behind the File menu: order, cap, and what a stored
// list edited by hand is cut down to.
#include "files/recent_files.h"

#include <gtest/gtest.h>

using tunara::RecentFiles;

namespace {

QStringList numbered(int count)
{
    QStringList paths;
    for (int k = 1; k <= count; ++k)
        paths << QStringLiteral("/data/f%1.dat").arg(k);
    return paths;
}

TEST(RecentFiles, NewestFirstWithoutDuplicatesAndAtMostEight)
{
    RecentFiles recent;
    for (const QString &p : numbered(10))
        recent.add(p);
    EXPECT_EQ(recent.paths(), (QStringList{"/data/f10.dat", "/data/f9.dat", "/data/f8.dat", "/data/f7.dat",
                                           "/data/f6.dat", "/data/f5.dat", "/data/f4.dat", "/data/f3.dat"}));
    recent.add("/data/./f5.dat");  // the same file again moves up, not in twice
    EXPECT_EQ(recent.paths().size(), 8);
    EXPECT_EQ(recent.paths().first(), "/data/f5.dat");
    EXPECT_EQ(recent.paths().count("/data/f5.dat"), 1);
    recent.remove("/data/f10.dat");
    EXPECT_FALSE(recent.paths().contains("/data/f10.dat"));
    recent.prune([](const QString &p) { return !p.endsWith("f9.dat"); });
    EXPECT_EQ(recent.paths().size(), 6);
    EXPECT_FALSE(recent.paths().contains("/data/f9.dat"));

    const RecentFiles back = RecentFiles::fromStored(recent.toStored());
    EXPECT_EQ(back.paths(), recent.paths());
}

TEST(RecentFiles, AStoredListEditedByHandKeepsOnlyWhatTheMenuCanOffer)
{
    QStringList stored{"", "   ", "relative.dat", "/data/line\nbreak.dat", "/data/b.dat", "/data/a.dat", "/data/b.dat"};
    stored += numbered(1000);
    const RecentFiles recent(stored);
    EXPECT_EQ(recent.paths(), (QStringList{"/data/b.dat", "/data/a.dat", "/data/f1.dat", "/data/f2.dat",
                                           "/data/f3.dat", "/data/f4.dat", "/data/f5.dat", "/data/f6.dat"}));
    // A line break splits the stored text: neither half is an absolute name.
    EXPECT_TRUE(RecentFiles::fromStored("\n\nrel\n/x/a.dat\n").paths() == QStringList{"/x/a.dat"});

    RecentFiles adding;
    for (const QString &bad : {QString(), QStringLiteral("x.dat"), QStringLiteral("/a\tb.dat")})
        adding.add(bad);
    EXPECT_TRUE(adding.paths().isEmpty());
}

TEST(RecentFiles, MenuTextNumbersTheNameAndShowsAnAmpersandAsItself)
{
    EXPECT_EQ(RecentFiles::menuText(0, "/data/engine.dat"), "&1 engine.dat");
    EXPECT_EQ(RecentFiles::menuText(7, "/data/R&D.dat"), "&8 R&&D.dat");
}

}  // namespace
