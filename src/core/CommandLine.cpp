#include "core/CommandLine.h"

#include <string_view>

namespace bw {

namespace {

constexpr std::string_view kHelp =
    "Usage: brindlewood [--help] [--version]\n"
    "\n"
    "Keeps a Poser 4 content library in order: shows the drives, folders and files in one tree,\n"
    "lists the files each library file references, finds where they really lie under Runtime,\n"
    "and rewrites stale references (keeping a backup).\n"
    "\n"
    "  --help       print this text and exit\n"
    "  --version    print the version and exit\n"
    "\n"
    "Environment:\n"
    "  WINEPREFIX        the Wine prefix whose drives the program shows (default ~/.wine)\n"
    "  BRINDLEWOOD_INI   the settings file to use instead of Brindlewood.ini\n";

}  // namespace

std::optional<int> AnswerInfoOptions(int argc, const char* const* argv, std::ostream& out) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            out << kHelp;
            return 0;
        }
        if (arg == "--version") {
            out << "brindlewood " << BRINDLEWOOD_VERSION_MAJOR << '.' << BRINDLEWOOD_VERSION_MINOR
                << '.' << BRINDLEWOOD_VERSION_PATCH << '\n';
            return 0;
        }
    }
    return std::nullopt;
}

}  // namespace bw
