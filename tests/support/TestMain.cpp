#include <gtest/gtest.h>
#include <stdlib.h>

#include <QApplication>
#include <filesystem>
#include <string>

// Every test process gets its own home, data, config and runtime folders, so nothing touches the
// real home (trash, caches, settings), and a QApplication for the widget tests.
int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    char pattern[] = "/tmp/bw-test-home-XXXXXX";
    const std::string home = ::mkdtemp(pattern) ? pattern : "";
    if (!home.empty()) {
        ::setenv("HOME", home.c_str(), 1);
        for (const auto& [var, sub] : {std::pair{"XDG_DATA_HOME", "/data"},
                                       {"XDG_CONFIG_HOME", "/config"},
                                       {"XDG_RUNTIME_DIR", "/runtime"},
                                       {"XDG_CACHE_HOME", "/cache"}}) {
            std::filesystem::create_directories(home + sub);
            ::setenv(var, (home + sub).c_str(), 1);
        }
        ::chmod((home + "/runtime").c_str(), 0700);
    }
    ::unsetenv("WINEPREFIX");
    ::unsetenv("BRINDLEWOOD_INI");
    if (!::getenv("QT_QPA_PLATFORM")) ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    const int rc = RUN_ALL_TESTS();
    std::error_code ec;
    if (!home.empty()) std::filesystem::remove_all(home, ec);
    return rc;
}
