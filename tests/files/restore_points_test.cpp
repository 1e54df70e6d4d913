// Restore points: kept as data files named by time, event and firmware,
// listed newest first, the newest 200 kept; the index records beside each
// where it came from, its note and whether it is kept for good.
#include "files/restore_points.h"

#include "core/runtime_error.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

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
    EXPECT_EQ(list[2].firmware, QStringLiteral("a_b/c"));  // as recorded; the name holds "a-b-c"
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

// Lines whose files were deleted by hand are never counted against the
// newest 200: they age out first, and no point with a file goes for them.
TEST(RestorePoints, LinesWhoseFilesAreGoneCostNoPoint)
{
    QTemporaryDir dir;
    restore::RestorePoints store(dir.path());
    const QDateTime t0(QDate(2026, 2, 1), QTime(0, 0));
    int made = 0;
    const auto keep = [&](int count) {
        QStringList paths;
        for (int k = 0; k < count; ++k, ++made)
            paths << store.keep(image(0x1C), Event::Downloaded, QStringLiteral("fw"), t0.addSecs(made));
        return paths;
    };
    // Index lines, newest made, whose files are not there.
    const auto addGone = [&](int count, bool keptForGood = false) {
        QFile index(QDir(dir.path()).filePath("index"));
        ASSERT_TRUE(index.open(QIODevice::Append));
        for (int k = 0; k < count; ++k, ++made)
            index.write(QStringLiteral("{\"name\":\"%1_downloaded_fw.dat\"%2}\n")
                            .arg(t0.addSecs(made).toString("yyyyMMdd-HHmmss-zzz"),
                                 keptForGood ? QStringLiteral(",\"kept\":true") : QString())
                            .toUtf8());
    };
    const auto withFiles = [&store] {
        const QList<restore::Entry> list = store.list();
        return std::count_if(list.begin(), list.end(), [](const restore::Entry &e) { return e.readable(); });
    };

    const QStringList real = keep(150);
    addGone(1, true);
    addGone(60);
    keep(2);  // an upload's two points: lines without files go, no point
    EXPECT_EQ(withFiles(), 152);
    EXPECT_EQ(store.list().size(), 152 + 48 + 1);
    EXPECT_EQ(store.list().last().path, real[0]);

    keep(50);  // beyond 200 with files: every line without one has gone first
    EXPECT_EQ(withFiles(), 200);
    EXPECT_EQ(store.list().size(), 200 + 1);  // and the line kept for good
    EXPECT_FALSE(QFile::exists(real[1]));
    EXPECT_TRUE(QFile::exists(real[2]));

    addGone(200);
    keep(1);
    EXPECT_EQ(withFiles(), 200);
    EXPECT_EQ(store.list().size(), 200 + 1);
    EXPECT_FALSE(QFile::exists(real[2]));
    EXPECT_TRUE(QFile::exists(real[3]));
}

mode_t permissions(const QString &path)
{
    struct stat st {};
    ::stat(QFile::encodeName(path).constData(), &st);
    return st.st_mode & 0777;
}

TEST(RestorePoints, TwoProcessesKeepingAtOnceLoseNoPoint)
{
    // Two processes, every point in the same millisecond: each name is
    // taken by creating it, so none overwrites another.
    QTemporaryDir dir;
    const QDateTime t0(QDate(2026, 6, 1), QTime(12, 0));
    std::vector<pid_t> children;
    for (const char marker : {'\xAA', '\xBB'}) {
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            restore::RestorePoints store(dir.path());
            bool allKept = true;
            for (int k = 0; k < 90; ++k) {
                try {
                    store.keep(QByteArray(264, marker), Event::Downloaded, QStringLiteral("fw"), t0);
                } catch (const RuntimeError &) {
                    allKept = false;
                }
            }
            ::_exit(allKept ? 0 : 1);
        }
        children.push_back(pid);
    }
    for (const pid_t pid : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    const QList<restore::Entry> list = restore::RestorePoints(dir.path()).list();
    ASSERT_EQ(list.size(), 180);
    int a = 0, b = 0;
    for (const restore::Entry &e : list) {
        QFile f(e.path);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        a += bytes == QByteArray(264, '\xAA');
        b += bytes == QByteArray(264, '\xBB');
    }
    EXPECT_EQ(a, 90);
    EXPECT_EQ(b, 90);
}

TEST(RestorePoints, NewestMadeIsKeptWhateverTheClockSaidPrivateAndShortNamed)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath("points");
    restore::RestorePoints store(folder);
    // Points kept while the clock was set years ahead.
    const QDateTime ahead(QDate(2031, 1, 1), QTime(0, 0));
    for (int k = 0; k < restore::RestorePoints::Kept; ++k)
        store.keep(image(0x1C), Event::Downloaded, QStringLiteral("fw"), ahead.addSecs(k));
    const QString now =
        store.keep(image(0x5C), Event::BeforeUpload, QString(300, u'V'), QDateTime(QDate(2026, 6, 1), QTime(9, 0)));
    ASSERT_TRUE(QFile::exists(now));
    const QList<restore::Entry> list = store.list();
    ASSERT_EQ(list.size(), restore::RestorePoints::Kept);
    EXPECT_EQ(list.first().path, now);
    EXPECT_EQ(list.last().time, ahead.addSecs(1));  // the first made went
    EXPECT_LT(QFileInfo(now).fileName().size(), 120);
    EXPECT_TRUE(list.first().firmware.startsWith(QStringLiteral("VVVV")));

    EXPECT_EQ(permissions(folder), mode_t(0700));
    EXPECT_EQ(permissions(now), mode_t(0600));
}

QStringList pointFiles(const QString &folder)
{
    return QDir(folder).entryList({QStringLiteral("*.dat")}, QDir::Files, QDir::Name);
}

TEST(RestorePoints, NoLinkIsFollowedNoPointIsLostToAnUnwritableIndexAndADamagedOneIsRebuilt)
{
    QTemporaryDir dir;
    const QDateTime t0(QDate(2026, 3, 1), QTime(8, 0));

    // A link at the folder's name: refused, its target's permissions left alone.
    ASSERT_TRUE(QDir(dir.path()).mkdir("elsewhere"));
    ASSERT_EQ(::chmod(QFile::encodeName(dir.filePath("elsewhere")).constData(), 0755), 0);
    ASSERT_TRUE(QFile::link(dir.filePath("elsewhere"), dir.filePath("linked")));
    try {
        restore::RestorePoints(dir.filePath("linked")).keep(image(0x5C), Event::Downloaded, QString(), t0);
        ADD_FAILURE() << "kept through a link";
    } catch (const RuntimeError &e) {
        EXPECT_TRUE(e.description().contains(QStringLiteral("is a symbolic link"))) << e.description().toStdString();
    }
    EXPECT_EQ(permissions(dir.filePath("elsewhere")), mode_t(0755));
    EXPECT_TRUE(QDir(dir.filePath("elsewhere")).isEmpty());

    // A full folder whose index cannot be written: nothing is pruned, and
    // the point that could not be indexed is not left behind.
    const QString full = dir.filePath("full");
    restore::RestorePoints fullStore(full);
    for (int k = 0; k < restore::RestorePoints::Kept; ++k)
        fullStore.keep(image(0x1C), Event::Downloaded, QStringLiteral("fw"), t0.addSecs(k));
    const QStringList before = pointFiles(full);
    ASSERT_TRUE(QFile::remove(QDir(full).filePath("index")));
    ASSERT_TRUE(QDir(full).mkdir("index"));
    EXPECT_THROW(fullStore.keep(image(0x1C), Event::Downloaded, QStringLiteral("fw"), t0.addDays(1)), RuntimeError);
    EXPECT_EQ(pointFiles(full), before);
    // An index that is a link is neither read nor written through.
    ASSERT_TRUE(QDir(full).rmdir("index"));
    QFile outside(dir.filePath("outside.txt"));
    ASSERT_TRUE(outside.open(QIODevice::WriteOnly));
    outside.write("not an index\n");
    outside.close();
    ASSERT_EQ(::chmod(QFile::encodeName(outside.fileName()).constData(), 0644), 0);
    ASSERT_TRUE(QFile::link(outside.fileName(), QDir(full).filePath("index")));
    EXPECT_THROW(fullStore.keep(image(0x1C), Event::Downloaded, QStringLiteral("fw"), t0.addDays(1)), RuntimeError);
    EXPECT_EQ(pointFiles(full), before);
    EXPECT_EQ(permissions(outside.fileName()), mode_t(0644));
    ASSERT_TRUE(outside.open(QIODevice::ReadOnly));
    EXPECT_EQ(outside.readAll(), QByteArray("not an index\n"));

    // A damaged index: the order comes from when each point was written,
    // not from the times in the names (here a clock that ran backwards).
    const QString damaged = dir.filePath("damaged");
    restore::RestorePoints store(damaged);
    QStringList made;
    const QDateTime written = QDateTime::currentDateTime().addSecs(-3600);
    for (int k = 0; k < restore::RestorePoints::Kept; ++k) {
        made << store.keep(image(0x1C), Event::Downloaded, QStringLiteral("fw"), t0.addSecs(-k));
        QFile point(made.last());
        ASSERT_TRUE(point.open(QIODevice::ReadWrite));
        ASSERT_TRUE(point.setFileTime(written.addSecs(k), QFileDevice::FileModificationTime));
    }
    QFile index(QDir(damaged).filePath("index"));
    ASSERT_TRUE(index.open(QIODevice::WriteOnly | QIODevice::Truncate));
    index.write("\xFF\xFE garbage\n");
    index.close();
    const QString newest = store.keep(image(0x5C), Event::BeforeUpload, QString(), t0.addSecs(-1000));
    EXPECT_FALSE(QFile::exists(made.first()));  // the first made went, though its name is the latest
    const QList<restore::Entry> list = store.list();
    ASSERT_EQ(list.size(), restore::RestorePoints::Kept);
    EXPECT_EQ(list.first().path, newest);
    for (int k = 1; k < restore::RestorePoints::Kept; ++k)
        EXPECT_EQ(list[restore::RestorePoints::Kept - k].path, made[k]) << k;
}

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

TEST(RestorePoints, EachPointRecordsItsOriginAndOlderIndexesStillList)
{
    QTemporaryDir dir;
    restore::RestorePoints store(dir.filePath("points"));
    const QDateTime t0(QDate(2026, 7, 1), QTime(9, 0));
    const QString fromFile = store.keep(image(0x9C), Event::BeforeUpload,
                                        {restore::Source::file(dir.filePath("tunes/base.dat")), QString()}, t0);
    store.keep(image(0x5C), Event::Downloaded,
               {restore::Source::module(3, QStringLiteral("/dev/ttyUSB0")), QStringLiteral("Torvik-1 Zoruro V2.1")},
               t0.addSecs(1));
    QList<restore::Entry> list = store.list();
    ASSERT_EQ(list.size(), 2);
    EXPECT_EQ(list[0].source.text(), QStringLiteral("Com3 (/dev/ttyUSB0)"));
    EXPECT_EQ(list[0].firmware, QStringLiteral("Torvik-1 Zoruro V2.1"));
    EXPECT_EQ(list[1].source.text(), QStringLiteral("base.dat (%1)").arg(dir.filePath("tunes")));
    EXPECT_TRUE(list[1].firmware.isEmpty() && !list[1].kept);
    EXPECT_EQ(list[1].tableMode, QStringLiteral("3D"));
    EXPECT_EQ(list[1].bytes, image(0x9C));
    EXPECT_TRUE(list[1].uploadEnd.isEmpty());
    // An upload that did not complete is recorded beside its point.
    store.setUploadEnd(fromFile, QStringLiteral("failed"));
    EXPECT_EQ(store.entry(fromFile)->uploadEnd, QStringLiteral("failed"));
    EXPECT_TRUE(store.list()[0].uploadEnd.isEmpty());

    // An index of names alone, as before details were kept, and a line of a
    // later version with a field this one does not know and none it does.
    const QString index = dir.filePath("points/index");
    const QString name = QFileInfo(fromFile).fileName();
    const QString downloaded = QFileInfo(list[0].path).fileName();
    writeBytes(index, (R"({"name":")" + name + R"(","future":7})" + "\n" + downloaded + "\n").toUtf8());
    list = store.list();
    ASSERT_EQ(list.size(), 2);
    EXPECT_EQ(list[0].source.text(), QStringLiteral("a module (port not recorded)"));
    EXPECT_EQ(list[0].firmware, QStringLiteral("Torvik-1 Zoruro V2.1"));  // from the name
    EXPECT_EQ(list[1].source.text(), QStringLiteral("not recorded"));
    EXPECT_EQ(list[1].tableMode, QStringLiteral("3D"));  // from the bytes
    // One point looked up alone reads as the list has it; a file elsewhere is none.
    const std::optional<restore::Entry> one = store.entry(downloaded);
    ASSERT_TRUE(one);
    EXPECT_EQ(one->path, list[0].path);
    EXPECT_EQ(one->firmware, list[0].firmware);
    EXPECT_FALSE(store.entry(dir.filePath("tunes/") + downloaded));
    store.setNote(fromFile, QStringLiteral("base map"));
    const QJsonObject line = QJsonDocument::fromJson(fileBytes(index).split('\n').first()).object();
    EXPECT_EQ(line.value("future").toInt(), 7);  // carried through the rewrite
    EXPECT_EQ(line.value("note").toString(), QStringLiteral("base map"));
}

TEST(RestorePoints, KeptPointsAreNeverPrunedAndNoNoteIsLost)
{
    QTemporaryDir dir;
    restore::RestorePoints store(dir.path());
    const QDateTime t0(QDate(2026, 8, 1), QTime(7, 0));
    QStringList oldest;
    for (int k = 0; k < 3; ++k)
        oldest << store.keep(image(0x1C), Event::Downloaded, QStringLiteral("fw"), t0.addSecs(k));
    store.setKept(oldest[0], true);
    store.setKept(QFileInfo(oldest[2]).fileName(), true);  // the name alone names it too
    store.setNote(oldest[2], QStringLiteral("  Customer: Ann\r\nRed trail bike\x01\n\n"));
    for (int k = 3; k < restore::RestorePoints::Kept + 3; ++k)
        store.keep(image(0x1C), Event::Downloaded, QStringLiteral("fw"), t0.addSecs(k));
    QList<restore::Entry> list = store.list();
    ASSERT_EQ(list.size(), restore::RestorePoints::Kept + 2);  // both kept, and the newest 200 besides
    EXPECT_EQ(list.last().path, oldest[0]);
    EXPECT_TRUE(list.last().kept);
    EXPECT_FALSE(QFile::exists(oldest[1]));
    EXPECT_EQ(list[list.size() - 2].note, QStringLiteral("Customer: Ann\nRed trail bike"));
    EXPECT_EQ(restore::noteLine(list[list.size() - 2].note), QStringLiteral("Customer: Ann / Red trail bike"));

    // Notes: 10,000 characters kept whole, a longer one or one that was not
    // UTF-8 refused with the note as it was.
    const QString longest(restore::RestorePoints::MaxNoteChars, u'n');
    store.setNote(oldest[0], longest);
    EXPECT_THROW(store.setNote(oldest[0], longest + u'n'), RuntimeError);
    EXPECT_THROW(store.setNote(oldest[0], QString::fromUtf8("bad \xFF byte")), RuntimeError);
    EXPECT_THROW(store.setNote(dir.filePath("elsewhere/") + QFileInfo(oldest[0]).fileName(), QString()), RuntimeError);
    EXPECT_EQ(store.list().last().note, longest);

    // A point whose file is gone or cut short is listed, named as such, its
    // note kept; a line of the index that cannot be read is named, and the
    // index goes aside whole before the next change rewrites it.
    ASSERT_TRUE(QFile::remove(oldest[2]));
    writeBytes(list[0].path, QByteArray(100, '\0'));
    QFile index(QDir(dir.path()).filePath("index"));
    ASSERT_TRUE(index.open(QIODevice::Append));
    index.write("{\"name\": broken\n");
    index.write(QStringLiteral("{\"name\": \"%1\"}\n").arg(QFileInfo(oldest[0]).fileName()).toUtf8());
    index.close();
    restore::Listing listing = store.listing();
    const auto entryOf = [&listing](const QString &path) {
        return *std::find_if(listing.entries.begin(), listing.entries.end(),
                             [&path](const restore::Entry &e) { return e.path == path; });
    };
    ASSERT_EQ(listing.entries.size(), restore::RestorePoints::Kept + 2);
    ASSERT_EQ(listing.problems.size(), 1);
    EXPECT_TRUE(listing.problems[0].contains(QStringLiteral("is damaged (1 line cannot be read, a point is listed twice)")))
        << listing.problems[0].toStdString();
    EXPECT_EQ(listing.entries[0].problem, QStringLiteral("the file holds 100 bytes, not 264"));
    EXPECT_TRUE(listing.entries[0].bytes.isEmpty());
    EXPECT_EQ(entryOf(oldest[2]).problem, QStringLiteral("the file is gone"));
    EXPECT_EQ(entryOf(oldest[2]).note, QStringLiteral("Customer: Ann\nRed trail bike"));
    store.setKept(oldest[0], false);
    EXPECT_EQ(QDir(dir.path()).entryList({QStringLiteral("index.damaged-*")}).size(), 1);
    listing = store.listing();
    EXPECT_TRUE(listing.problems.isEmpty());
    EXPECT_EQ(entryOf(oldest[2]).note, QStringLiteral("Customer: Ann\nRed trail bike"));
    EXPECT_EQ(entryOf(oldest[0]).note, longest);
}

TEST(RestorePoints, TwoProgramsNotingAndKeepingAtOnceLoseNothing)
{
    QTemporaryDir dir;
    restore::RestorePoints store(dir.path());
    QStringList points;
    for (int k = 0; k < 20; ++k)
        points << store.keep(image(0x1C), Event::Downloaded, QStringLiteral("fw"));
    std::vector<pid_t> children;
    for (int child = 0; child < 2; ++child) {
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            restore::RestorePoints mine(dir.path());
            bool done = true;
            for (int k = child; k < points.size(); k += 2) {
                try {
                    mine.setNote(points[k], QStringLiteral("note %1").arg(k));
                    mine.keep(image(0x1C), Event::BeforeOpen, QString());
                } catch (const RuntimeError &) {
                    done = false;
                }
            }
            ::_exit(done ? 0 : 1);
        }
        children.push_back(pid);
    }
    for (const pid_t pid : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    const QList<restore::Entry> list = store.list();
    ASSERT_EQ(list.size(), 40);
    for (int k = 0; k < points.size(); ++k)
        EXPECT_EQ(list[39 - k].note, QStringLiteral("note %1").arg(k)) << k;
}

}  // namespace
