#include "app/startup.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QWidget>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace tunara::test {
namespace {

QStringList args(std::initializer_list<const char *> list)
{
    QStringList out{QStringLiteral("tunara")};
    for (const char *a : list)
        out << QString::fromLatin1(a);
    return out;
}

TEST(StartOptions, DefaultsAndEachOption)
{
    const ui::ParsedOptions plain = ui::parseStartOptions(args({}));
    ASSERT_TRUE(plain.options);
    EXPECT_FALSE(plain.options->simulate);
    EXPECT_TRUE(plain.options->screenshot.isEmpty());
    EXPECT_EQ(plain.options->splashMs, 4000);

    const ui::ParsedOptions all =
        ui::parseStartOptions(args({"--simulate", "--screenshot", "/tmp/x.png", "--splash-ms", "250"}));
    ASSERT_TRUE(all.options);
    EXPECT_TRUE(all.options->simulate);
    EXPECT_EQ(all.options->screenshot, QStringLiteral("/tmp/x.png"));
    EXPECT_EQ(all.options->splashMs, 250);

    // One data file, as a file manager passes it, is opened at start-up.
    const ui::ParsedOptions file = ui::parseStartOptions(args({"my engine.dat"}));
    ASSERT_TRUE(file.options);
    EXPECT_TRUE(file.options->dataFile.endsWith(QStringLiteral("/my engine.dat")));
    EXPECT_TRUE(QFileInfo(file.options->dataFile).isAbsolute());
    EXPECT_TRUE(file.options->openIn.isEmpty());

    const ui::ParsedOptions table = ui::parseStartOptions(args({"--open-in", "table", "--compare", "b.dat", "a.dat"}));
    ASSERT_TRUE(table.options);
    EXPECT_EQ(table.options->openIn, QStringLiteral("table"));
    EXPECT_EQ(table.options->compareWith, QDir::current().absoluteFilePath(QStringLiteral("b.dat")));

    // After "--" a name with a leading dash is a file, before it an option.
    const ui::ParsedOptions dashed = ui::parseStartOptions(args({"--", "-x.dat"}));
    ASSERT_TRUE(dashed.options);
    EXPECT_TRUE(dashed.options->dataFile.endsWith(QStringLiteral("/-x.dat")));
    EXPECT_TRUE(ui::parseStartOptions(args({"-x.dat"})).message.contains(QStringLiteral("x.dat")));
}

TEST(StartOptions, MistakesAreRefusedWithAnExitCode)
{
    for (auto bad : {args({"--no-such"}), args({"--splash-ms", "soon"}), args({"--splash-ms", "-5"}), args({"a.dat", "b.dat"}),
                     args({"--open-in", "grid", "a.dat"}), args({"--open-in", "table"}),
                     args({"--open-in", "preview", "--compare", "b.dat", "a.dat"}),
                     args({"--open-in", "table", "--comment", "x", "a.dat"})}) {
        const ui::ParsedOptions p = ui::parseStartOptions(bad);
        EXPECT_FALSE(p.options) << bad.join(u' ').toStdString();
        EXPECT_EQ(p.exitCode, 2);
        EXPECT_FALSE(p.message.isEmpty());
    }
    const ui::ParsedOptions help = ui::parseStartOptions(args({"--help"}));
    EXPECT_FALSE(help.options);
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.message.contains(QStringLiteral("--simulate")));
    // The program is named, whatever path started it (the test binary's here).
    EXPECT_TRUE(help.message.startsWith(QStringLiteral("Usage: tunara [options]"))) << help.message.toStdString();
}

TEST(StartOptions, TraceFileIsTakenAndOneThatCannotBeMadeStopsTheStart)
{
    const ui::ParsedOptions traced = ui::parseStartOptions(args({"--trace", "/tmp/link trace.txt"}));
    ASSERT_TRUE(traced.options);
    EXPECT_EQ(traced.options->trace, QStringLiteral("/tmp/link trace.txt"));

    const ui::ParsedOptions version = ui::parseStartOptions(args({"--version"}));
    EXPECT_FALSE(version.options);
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_TRUE(version.message.startsWith(QStringLiteral("tunara ")));

    // Returns before the splash: no window is ever shown.
    QTemporaryDir dir;
    const auto windowsBefore = QApplication::topLevelWidgets().size();
    ui::StartOptions options;
    options.trace = dir.filePath(QStringLiteral("missing/trace.txt"));
    EXPECT_EQ(ui::runTunara(*qApp, options), 1);
    EXPECT_EQ(QApplication::topLevelWidgets().size(), windowsBefore);
}


TEST(StartOptions, AScreenshotIntoAMissingFolderIsRefused)
{
    const QString missing = QStringLiteral("/nonexistent-tunara-folder/shot.png");
    const ui::ParsedOptions p = ui::parseStartOptions({QStringLiteral("tunara"), QStringLiteral("--screenshot"), missing});
    EXPECT_FALSE(p.options);
    EXPECT_EQ(p.exitCode, 2);
    EXPECT_TRUE(p.message.contains(QStringLiteral("/nonexistent-tunara-folder"))) << p.message.toStdString();
    const ui::ParsedOptions empty = ui::parseStartOptions({QStringLiteral("tunara"), QStringLiteral("--screenshot="), });
    EXPECT_FALSE(empty.options);
    EXPECT_EQ(empty.exitCode, 2);
}

QByteArray contentOf(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Names on the command line are files of the start folder, before and after
// the window loads; a picture or trace name that is a link is refused before
// anything starts, and the file it points to is left alone.
TEST(StartOptions, NamesAreFilesOfTheStartFolderAndNeverWrittenThroughALink)
{
    QTemporaryDir dir;
    const QString before = QDir::currentPath(), in = QDir(dir.path()).canonicalPath() + u'/';
    ASSERT_TRUE(QDir::setCurrent(in));
    const ui::ParsedOptions p = ui::parseStartOptions(
        args({"--screenshot", "shot.png", "--trace", "t.txt", "--open-in", "table", "--compare", "b.dat", "a.dat"}));
    ASSERT_TRUE(p.options);
    const ui::StartOptions &o = *p.options;
    EXPECT_EQ(QStringList({o.screenshot, o.trace, o.compareWith, o.dataFile}),
              QStringList({in + "shot.png", in + "t.txt", in + "b.dat", in + "a.dat"}));
    ui::StartOptions run;
    run.screenshot = o.screenshot;
    run.trace = o.trace;
    QFile(in + "target").open(QIODevice::WriteOnly);
    for (const QString &name : {run.screenshot, run.trace}) {
        ASSERT_TRUE(QFile::link(in + "target", name));
        EXPECT_EQ(ui::runTunara(*qApp, run), 1);
        ASSERT_TRUE(QFile::remove(name));
    }
    EXPECT_EQ(QDir(in).entryList(QDir::Files), QStringList{"target"});
    EXPECT_EQ(QFileInfo(in + "target").size(), 0);

    QApplication::setQuitOnLastWindowClosed(true);  // the run ends by closing its window
    const QString applicationName = QCoreApplication::applicationName();
    EXPECT_EQ(ui::runTunara(*qApp, run), 0);
    QCoreApplication::setApplicationName(applicationName);  // the run names the program as its settings need
    QApplication::setQuitOnLastWindowClosed(false);
    EXPECT_EQ(QDir::currentPath() + u'/', in);
    EXPECT_TRUE(contentOf(in + "shot.png").startsWith("\x89PNG"));
    EXPECT_TRUE(contentOf(in + "shot-splash.png").startsWith("\x89PNG"));
    EXPECT_TRUE(contentOf(in + "t.txt").startsWith("# Tunara link trace"));
    QDir::setCurrent(before);
}

}  // namespace
}  // namespace tunara::test
