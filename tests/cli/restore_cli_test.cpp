// restore-points: the listing with source and note, the differences against
// a data file as text and JSON, and --keep / --note as the window does them.
#include "cli_run.h"

#include "../compare/compare_fixtures.h"
#include "files/restore_points.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

using namespace tunara;

namespace {

TEST(RestoreCli, PointsAreListedWithSourceNoteAndTheirDifferencesAsTextAndJson)
{
    QTemporaryDir dir;
    std::mt19937 rng(27);
    const ModuleImage base = comparetest::programImage(rng, true);
    ModuleImage tuned = base;
    tuned.EEPROMBuffer[52] ^= 0x01;
    for (std::size_t a = 130; a < 133; ++a)
        tuned.EEPROMBuffer[a] = std::uint8_t(tuned.EEPROMBuffer[a] ^ 0x04);  // 4 steps each at most
    const QString against = dir.filePath("base.dat");
    QFile file(against);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(transferBytes(base));
    file.close();
    const QString folder = dir.filePath("points");
    restore::RestorePoints store(folder);
    const QDateTime t0(QDate(2026, 9, 1), QTime(10, 0));
    const QString same = store.keep(transferBytes(base), restore::Event::BeforeUpload,
                                    {restore::Source::file(against), QString()}, t0);
    const QString other = store.keep(transferBytes(tuned), restore::Event::Downloaded,
                                     {restore::Source::module(2, QStringLiteral("/dev/ttyUSB1")), QStringLiteral("V2.1")},
                                     t0.addSecs(60));

    EXPECT_EQ(runInProcess({"restore-points", "--folder", folder, "--keep", same}).code, 0);
    EXPECT_EQ(runInProcess({"restore-points", "--folder", folder, "--note", other, "Ann\nred bike"}).code, 0);
    EXPECT_EQ(runInProcess({"restore-points", "--folder", folder, "--note", other, QString(10001, u'x')}).code, 1);
    EXPECT_EQ(runInProcess({"restore-points", "--folder", folder, "--note", other}).code, 2);
    EXPECT_EQ(runInProcess({"restore-points", "--folder", folder, "--keep", same, "--json"}).code, 2);
    EXPECT_EQ(runInProcess({"restore-points", "--folder", folder, "--keep", against}).code, 1);

    const CliRun text = runInProcess({"restore-points", "--folder", folder, "--against", against});
    ASSERT_EQ(text.code, 0) << text.err.toStdString();
    const QStringList lines = text.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].contains("  Com2 (/dev/ttyUSB1)  ") && lines[0].contains("  Ann / red bike  ") &&
                lines[0].contains("  1 parameter, 3 cells, up to 0.4°  "))
        << lines[0].toStdString();
    EXPECT_TRUE(lines[1].contains("  base.dat (") && lines[1].contains("  kept  ") && lines[1].contains("  same  "))
        << lines[1].toStdString();

    const CliRun json = runInProcess({"restore-points", "--json", "--folder", folder, "--against", against});
    ASSERT_EQ(json.code, 0) << json.err.toStdString();
    const QJsonArray points = QJsonDocument::fromJson(json.out.toUtf8()).object().value("points").toArray();
    ASSERT_EQ(points.size(), 2);
    const QJsonObject newest = points[0].toObject();
    EXPECT_EQ(newest.keys(), (QStringList{"against", "event", "firmware", "kept", "note", "path", "source", "table",
                                          "time"}));
    EXPECT_EQ(newest.value("path").toString(), other);
    EXPECT_EQ(newest.value("event").toString(), QStringLiteral("Downloaded"));
    EXPECT_EQ(newest.value("source").toString(), QStringLiteral("Com2 (/dev/ttyUSB1)"));
    EXPECT_EQ(newest.value("firmware").toString(), QStringLiteral("V2.1"));
    EXPECT_EQ(newest.value("table").toString(), QStringLiteral("3D"));
    EXPECT_EQ(newest.value("note").toString(), QStringLiteral("Ann\nred bike"));
    EXPECT_FALSE(newest.value("kept").toBool());
    EXPECT_TRUE(newest.value("time").toString().startsWith(QStringLiteral("2026-09-01T10:01:00.000")));
    const QJsonObject differs = newest.value("against").toObject();
    EXPECT_EQ(differs.value("parameters").toInt(), 1);
    EXPECT_EQ(differs.value("cells").toInt(), 3);
    EXPECT_NEAR(differs.value("largest").toDouble(), 4 * DegreesPerStep, 1e-9);
    EXPECT_EQ(differs.value("otherBytes"), QJsonValue(0));
    EXPECT_TRUE(points[1].toObject().value("kept").toBool());
    EXPECT_EQ(points[1].toObject().value("against").toObject().value("cells").toInt(), 0);

    // A point cut short is listed with what it is; nothing to compare.
    QFile cut(same);
    ASSERT_TRUE(cut.resize(100));
    const QJsonObject damaged = QJsonDocument::fromJson(
        runInProcess({"restore-points", "--json", "--folder", folder, "--against", against}).out.toUtf8())
                                    .object()
                                    .value("points")
                                    .toArray()[1]
                                    .toObject();
    EXPECT_TRUE(damaged.value("against").isNull());
    EXPECT_EQ(damaged.value("problem").toString(), QStringLiteral("the file holds 100 bytes, not 264"));
    EXPECT_FALSE(runInProcess({"restore-points", "--json", "--folder", folder}).out.contains("against"));
}

}  // namespace
