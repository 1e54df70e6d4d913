// The chart pictures measure and draw text: they need a QGuiApplication
// (offscreen, set by the test runner), and no widgets.
#include "support/process_state.h"
#include "support/temp_folder.h"

#include <QGuiApplication>

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    const tunara::test::RunTempFolder temp;
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    tunara::test::guardProcessState();
    return RUN_ALL_TESTS();
}
