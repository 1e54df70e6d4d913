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
    EXPECT_EQ(ui::RunTunara(*qApp, options), 1);
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

// Names on the command line are files of the folder the program was
// started in, before and after the window loads; a picture or trace name
// that is a link is refused before anything starts, and the file the link
// points to is left alone.
TEST(StartOptions, NamesAreFilesOfTheStartFolderAndNeverWrittenThroughALink)
{
    QTemporaryDir dir;
    const QString start = QDir(dir.path()).canonicalPath();
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(start));
    const ui::ParsedOptions p = ui::parseStartOptions(
        args({"--screenshot", "shot.png", "--trace", "link.txt", "--open-in", "table", "--compare", "b.dat", "a.dat"}));
    ASSERT_TRUE(p.options);
    const QString in = start + u'/';
    EXPECT_EQ(p.options->screenshot, in + "shot.png");
    EXPECT_EQ(p.options->trace, in + "link.txt");
    EXPECT_EQ(p.options->compareWith, in + "b.dat");
    EXPECT_EQ(p.options->dataFile, in + "a.dat");
    EXPECT_EQ(ui::parseStartOptions(args({"--trace", ""})).exitCode, 2);

    {
        QFile target(in + "target.png");
        ASSERT_TRUE(target.open(QIODevice::WriteOnly));
        target.write("keep");
    }
    ui::StartOptions o;
    o.screenshot = in + "shot.png";
    o.trace = in + "link.txt";
    ASSERT_TRUE(QFile::link(in + "target.png", o.screenshot));
    EXPECT_EQ(ui::RunTunara(*qApp, o), 1);
    EXPECT_FALSE(QFileInfo::exists(o.trace));  // refused before the trace was made
    ASSERT_TRUE(QFile::remove(o.screenshot));
    ASSERT_TRUE(QFile::link(in + "target.png", o.trace));
    EXPECT_EQ(ui::RunTunara(*qApp, o), 1);
    EXPECT_EQ(contentOf(in + "target.png"), QByteArray("keep"));
    EXPECT_FALSE(QFileInfo::exists(o.screenshot));
    ASSERT_TRUE(QFile::remove(o.trace));

    // A whole run: the window's load leaves the working folder alone, and
    // the pictures and the trace land in the start folder, not the program's.
    QApplication::setQuitOnLastWindowClosed(true);
    EXPECT_EQ(ui::RunTunara(*qApp, o), 0);
    QApplication::setQuitOnLastWindowClosed(false);
    EXPECT_EQ(QDir::currentPath(), start);
    EXPECT_TRUE(contentOf(in + "shot.png").startsWith("\x89PNG"));
    EXPECT_TRUE(contentOf(in + "shot-splash.png").startsWith("\x89PNG"));
    EXPECT_TRUE(contentOf(o.trace).startsWith("# Tunara link trace"));
    EXPECT_FALSE(QFileInfo::exists(QCoreApplication::applicationDirPath() + "/shot.png"));
    QDir::setCurrent(before);
}

}  // namespace
}  // namespace tunara::test
