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
    const char* home = ::mkdtemp(pattern);
    if (home) {
        const std::string h = home;
        for (const char* sub : {"/data", "/config", "/runtime", "/cache"})
            std::filesystem::create_directories(h + sub);
        ::chmod((h + "/runtime").c_str(), 0700);
        ::setenv("HOME", home, 1);
        ::setenv("XDG_DATA_HOME", (h + "/data").c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", (h + "/config").c_str(), 1);
        ::setenv("XDG_RUNTIME_DIR", (h + "/runtime").c_str(), 1);
        ::setenv("XDG_CACHE_HOME", (h + "/cache").c_str(), 1);
    }
    ::unsetenv("WINEPREFIX");
    ::unsetenv("BRINDLEWOOD_INI");
    if (!::getenv("QT_QPA_PLATFORM")) ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    int rc = RUN_ALL_TESTS();
    if (home) {
        std::error_code ec;
        std::filesystem::remove_all(home, ec);
    }
    return rc;
}
