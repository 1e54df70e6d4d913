// The main of the window and dialog tests: a QApplication (offscreen, set by
// the test runner), GoogleTest, the run's temporary folder, and every test
// checked for process-wide state it left changed.
#include "support/process_state.h"
#include "support/temp_folder.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    const tunara::test::RunTempFolder temp;
    QApplication app(argc, argv);
    // Closing the last test window must not end the run.
    QApplication::setQuitOnLastWindowClosed(false);
    ::testing::InitGoogleTest(&argc, argv);
    tunara::test::guardProcessState();
    return RUN_ALL_TESTS();
}
