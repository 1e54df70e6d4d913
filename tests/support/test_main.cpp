// The main of the test binaries without windows: GoogleTest, the run's
// temporary folder, and every test checked for process-wide state it left
// changed.
#include "support/process_state.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    const tunara::test::RunTempFolder temp;
    ::testing::InitGoogleTest(&argc, argv);
    tunara::test::guardProcessState();
    return RUN_ALL_TESTS();
}
