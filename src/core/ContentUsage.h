#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

namespace bw {

// What the library check knows of which library files use a file: lets the file commands warn
// before deleting what figures use and keep references right when content moves. The windows set
// one; without it the commands do what they always did.
class ContentUsage {
  public:
    virtual ~ContentUsage() = default;

    struct Users {
        size_t count = 0;   // library files using it
        std::string first;  // the first of them, as a Windows path
    };
    // The library files that use the file at `hostPath`, or any file under the folder there, when
    // the check's index is fresh for the Runtime folder holding it; no value when that is not
    // known for sure.
    virtual std::optional<Users> UsersOf(const std::string& hostPath) = 0;

    // Called just before an item is moved from `oldHostPath` to `newHostPath`, while references to
    // it still resolve; answers what to do once the move has succeeded (asking the user first),
    // or nothing when no library file names what moves.
    virtual std::function<void()> PrepareMove(const std::string& oldHostPath,
                                              const std::string& newHostPath) = 0;
};

}  // namespace bw
