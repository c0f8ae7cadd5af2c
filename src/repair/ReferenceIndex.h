#pragma once

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "check/CheckCache.h"
#include "platform/DriveMap.h"

namespace bw::repair {

enum class IndexState {
    Absent,  // the cache holds nothing for the Runtime folder (or cannot be opened)
    Stale,   // a library file was added, removed or changed since the check, one could not be
             // read then, or a folder cannot be listed now
    Fresh,
};

// Who uses what under one Runtime folder, from the library check's cache alone: the references
// the check last extracted, resolved against the folder as it is now. Only a fresh index answers;
// otherwise the answer is unknown and the caller warns of nothing.
class ReferenceIndex {
  public:
    // Loads what the cache at `cachePath` holds for `runtime` and walks the Runtime folder to see
    // whether it still holds, as the check walks it: one listing of every folder under the Runtime
    // folder and one stat per library file, no library file read; the walk also lets the
    // references resolve as the check resolves them. `drives` as the check ran with. Setting
    // `cancel` stops the walk, leaving the index stale. Throws PlatformError when the Runtime
    // folder cannot be listed.
    static ReferenceIndex Load(const std::string& runtime, const std::string& cachePath,
                               const DriveMap& drives, const std::atomic<bool>* cancel = nullptr);

    IndexState state() const { return state_; }
    bool fresh() const { return state_ == IndexState::Fresh; }
    const std::string& runtime() const { return runtime_; }

    // One reference using a file.
    struct Use {
        std::string file;  // host path of the library file
        uint32_t line = 0;
        std::string reference;  // as written
        std::string used;       // the file used, below the Runtime folder
        bool named = false;     // the reference names it (not a candidate found in its stead)
    };
    // Every reference that uses the file `target` (host path) or a file under the folder `target`,
    // letter case aside, by library file then line; none when the index is not fresh.
    std::optional<std::vector<Use>> UsesOf(const std::string& target) const;
    // The library files (host paths, sorted) of those references.
    std::optional<std::vector<std::string>> UsersOf(const std::string& target) const;

  private:
    std::string runtime_;
    IndexState state_ = IndexState::Absent;
    check::CachedLibrary library_;
    // By the cache's number of each distinct reference path.
    struct PathUse {
        std::vector<std::string> used;
        bool named = false;
    };
    std::vector<PathUse> paths_;
};

}  // namespace bw::repair
