#pragma once

#include <optional>
#include <ostream>

namespace bw {

// "--help" or "--version" among the arguments: prints the answer to `out` and gives the exit code,
// so the program ends without opening a window (or needing a display). Anything else is left to
// the window toolkit: no value.
std::optional<int> AnswerInfoOptions(int argc, const char* const* argv, std::ostream& out);

}  // namespace bw
