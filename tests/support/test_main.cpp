// The main of the test binaries without windows: GoogleTest, with every
// test checked for process-wide state it left changed.
#include "support/process_state.h"

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    tunara::test::guardProcessState();
    return RUN_ALL_TESTS();
}
