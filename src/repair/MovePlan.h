#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "repair/ReferenceChange.h"
#include "repair/ReferenceIndex.h"

namespace bw::repair {

// What moving a file or folder within its Runtime folder asks of the library files.
struct MovePlan {
    // Sorted by file, then line. `file` is where the library file is once the move is done.
    std::vector<ReferenceChange> changes;
    size_t fileCount = 0;  // library files concerned
};

// The rewrite that keeps every reference to what moved from `oldPath` to `newPath` (host paths of
// a file or folder, a rename included) pointing at it: each reference that names the moved file,
// or a file under the moved folder, gets the ":Runtime:..." reference a repair writes, the rest of
// its path below the moved folder kept. `index` must be loaded before the move: afterwards the
// references no longer resolve, and a move within Libraries makes it stale. None when it is not
// fresh. A change of letter case alone needs no rewrite. Throws PlatformError (bad file name) when
// `newPath` lies outside the index's Runtime folder or holds a name a reference cannot carry.
std::optional<MovePlan> PlanMoveRewrite(const ReferenceIndex& index, const std::string& oldPath,
                                        const std::string& newPath);

}  // namespace bw::repair
