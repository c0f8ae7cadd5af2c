// Benchmarks of Brindlewood's long operations, run through the same code the window uses.
#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <map>

#include "Bench.h"

using namespace bw::bench;

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication application(argc, argv);
    const std::map<std::string, int (*)(const std::vector<std::string>&)> commands = {
        {"expand", BenchExpand},   {"scan", BenchScan},
        {"locate", BenchLocate},   {"refs", BenchRefs},
        {"listing", BenchListing}, {"check", BenchCheck},
        {"preview", BenchPreview}, {"checkwindow", BenchCheckWindow},
        {"repair", BenchRepair},
    };
    if (argc < 2 || !commands.count(argv[1])) {
        std::fprintf(stderr,
                     "usage: brindlewood-bench expand DIR\n"
                     "       brindlewood-bench scan LIBRARIES NAME\n"
                     "       brindlewood-bench locate START REFERENCE\n"
                     "       brindlewood-bench refs FILE\n"
                     "       brindlewood-bench listing DIR OUT [--subfolders]\n"
                     "       brindlewood-bench check DIR\n"
                     "       brindlewood-bench checkwindow DIR\n"
                     "       brindlewood-bench preview FILE\n"
                     "       brindlewood-bench repair DIR\n");
        return 2;
    }
    std::vector<std::string> args(argv + 2, argv + argc);
    return commands.at(argv[1])(args);
}
