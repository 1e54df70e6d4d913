// A grid hidden with its table takes no keys, though Qt may leave it the focus;
// a grid in a window not shown yet still edits (the window tests run so).
#include "views/timing_grid.h"

#include <QTest>

#include <gtest/gtest.h>

namespace {

TEST(TimingGrid, AHiddenGridOpensNoEditorOnATypedKey)
{
    tunara::views::TimingGrid shown(QStringLiteral("shown"), 9, 22);
    tunara::views::TimingGrid hidden(QStringLiteral("hidden"), 9, 22);
    for (tunara::views::TimingGrid *grid : {&shown, &hidden}) {
        tunara::views::setupGrid3D(*grid, 0);
        grid->show();
        grid->setCurrentCell(2, 3);
    }
    hidden.hide();
    QTest::keyClick(&shown, Qt::Key_5);
    QTest::keyClick(&hidden, Qt::Key_5);
    EXPECT_TRUE(shown.isEditing());  // the key begins an entry
    EXPECT_FALSE(hidden.isEditing());
}

}  // namespace
