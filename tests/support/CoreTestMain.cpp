#include <gtest/gtest.h>

#include "support/TestEnvironment.h"

// The core's tests run without Qt: nothing here may need an application object.
int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    const std::string home = bw::test::MakeTestHome();
    const int rc = RUN_ALL_TESTS();
    bw::test::RemoveTestHome(home);
    return rc;
}
