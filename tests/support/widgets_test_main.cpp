// The main of the window and dialog tests: a QApplication (offscreen, set by
// the test runner) and GoogleTest, with every test checked for process-wide
// state it left changed.
#include "support/process_state.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    // Closing the last test window must not end the run.
    QApplication::setQuitOnLastWindowClosed(false);
    ::testing::InitGoogleTest(&argc, argv);
    tunara::test::guardProcessState();
    return RUN_ALL_TESTS();
}
