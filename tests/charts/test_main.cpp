// The chart pictures measure and draw text: they need a QGuiApplication
// (offscreen, set by the test runner), and no widgets.
#include <QGuiApplication>

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
