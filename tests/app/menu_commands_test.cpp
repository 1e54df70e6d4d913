#include "app/menu_commands.h"

#include <QAction>

#include <gtest/gtest.h>

namespace tunara::test {
namespace {

TEST(MenuCommands, AnItemIsEnabledOnlyWhenBuiltAndAllowed)
{
    ui::MenuCommands commands;
    QAction action;
    action.setObjectName(QStringLiteral("mnuDownload"));
    commands.add(&action);

    EXPECT_FALSE(action.isEnabled());  // allowed, but no command behind it
    int runs = 0;
    commands.setHandler(QStringLiteral("mnuDownload"), [&runs] { ++runs; });
    EXPECT_TRUE(action.isEnabled());
    commands.setAllowed(QStringLiteral("mnuDownload"), false);
    EXPECT_FALSE(action.isEnabled());
    commands.setAllowed(QStringLiteral("mnuDownload"), true);
    action.trigger();
    EXPECT_EQ(runs, 1);
}

TEST(MenuCommands, RunningAnUnbuiltCommandDoesNothing)
{
    ui::MenuCommands commands;
    QAction action;
    action.setObjectName(QStringLiteral("mnuSaveTbl"));
    commands.add(&action, false);
    EXPECT_FALSE(commands.run(QStringLiteral("mnuSaveTbl")));
    EXPECT_FALSE(commands.isAllowed(QStringLiteral("mnuSaveTbl")));
    EXPECT_THROW(commands.setAllowed(QStringLiteral("mnuNoSuch"), true), std::invalid_argument);
}

}  // namespace
}  // namespace tunara::test
