#include "support/TestEnvironment.h"

#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <system_error>
#include <utility>

namespace bw::test {

std::string MakeTestHome() {
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
    return home;
}

void RemoveTestHome(const std::string& home) {
    std::error_code ec;
    if (!home.empty()) std::filesystem::remove_all(home, ec);
}

}  // namespace bw::test
