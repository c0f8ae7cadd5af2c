#include <gtest/gtest.h>
#include <stdlib.h>

#include <QApplication>

#include "support/TestEnvironment.h"

// The window tests share one QApplication on the offscreen platform unless a display is chosen.
int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    const std::string home = bw::test::MakeTestHome();
    if (!::getenv("QT_QPA_PLATFORM")) ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    const int rc = RUN_ALL_TESTS();
    bw::test::RemoveTestHome(home);
    return rc;
}
