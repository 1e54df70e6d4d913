// Restore points: kept as data files named by time, event and firmware,
// listed newest first, the newest 200 kept.
#include "files/restore_points.h"

#include "core/runtime_error.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace tunara;
using restore::Event;

namespace {

QByteArray image(std::uint8_t optionFlags)
{
    QByteArray bytes(264, '\x11');
    bytes[50 - 16] = char(optionFlags);
    return bytes;
}

TEST(RestorePoints, KeptImagesAreListedNewestFirstWithWhatHappened)
{
    QTemporaryDir dir;
    restore::RestorePoints store(dir.filePath("points"));
    const QDateTime t0(QDate(2026, 5, 4), QTime(10, 20, 30, 400));
    store.keep(image(0x5C), Event::Downloaded, QStringLiteral("Torvik-1 Zoruro V2.1"), t0);
    store.keep(image(0x9C), Event::BeforeUpload, QStringLiteral("a_b/c"), t0.addSecs(60));
    // Two in the same millisecond each get a file.
    const QString sameA = store.keep(image(0x1C), Event::BeforeOpen, QString(), t0.addSecs(120));
    const QString sameB = store.keep(image(0x1C), Event::BeforeDownload, QString(), t0.addSecs(120));
    EXPECT_NE(sameA, sameB);
    QFile::copy(sameA, dir.filePath("points/notes.dat"));  // not one of ours: left out

    const QList<restore::Entry> list = store.list();
    ASSERT_EQ(list.size(), 4);
    EXPECT_EQ(list[3].time, t0);
    EXPECT_EQ(list[3].event, Event::Downloaded);
    EXPECT_EQ(list[3].firmware, QStringLiteral("Torvik-1 Zoruro V2.1"));
    EXPECT_EQ(list[3].tableMode, QStringLiteral("2D"));
    EXPECT_EQ(list[2].firmware, QStringLiteral("a-b-c"));
    EXPECT_EQ(list[2].tableMode, QStringLiteral("3D"));
    EXPECT_EQ(list[0].time, t0.addSecs(120));
    EXPECT_TRUE(list[0].firmware.isEmpty());
    EXPECT_EQ(list[0].tableMode, QStringLiteral("none"));
    QFile kept(list[3].path);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), image(0x5C));

    EXPECT_THROW(store.keep(QByteArray(263, '\0'), Event::Downloaded, QString()), RuntimeError);
}

TEST(RestorePoints, OnlyTheNewest200AreKept)
{
    QTemporaryDir dir;
    restore::RestorePoints store(dir.path());
    const QDateTime t0(QDate(2026, 1, 1), QTime(0, 0));
    for (int k = 0; k < 205; ++k)
        store.keep(image(0x1C), Event::Downloaded, QStringLiteral("fw"), t0.addSecs(k));
    const QList<restore::Entry> list = store.list();
    ASSERT_EQ(list.size(), 200);
    EXPECT_EQ(list.first().time, t0.addSecs(204));
    EXPECT_EQ(list.last().time, t0.addSecs(5));
}

}  // namespace
