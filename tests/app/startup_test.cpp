#include "app/startup.h"

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
}

TEST(StartOptions, MistakesAreRefusedWithAnExitCode)
{
    for (auto bad : {args({"--no-such"}), args({"--splash-ms", "soon"}), args({"--splash-ms", "-5"}), args({"a.dat", "b.dat"})}) {
        const ui::ParsedOptions p = ui::parseStartOptions(bad);
        EXPECT_FALSE(p.options) << bad.join(u' ').toStdString();
        EXPECT_EQ(p.exitCode, 2);
        EXPECT_FALSE(p.message.isEmpty());
    }
    const ui::ParsedOptions help = ui::parseStartOptions(args({"--help"}));
    EXPECT_FALSE(help.options);
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.message.contains(QStringLiteral("--simulate")));
}

}  // namespace
}  // namespace tunara::test
