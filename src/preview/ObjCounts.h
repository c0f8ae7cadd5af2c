#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace bw {

class FileSystem;

struct ObjCounts {
    uint64_t vertices = 0;
    uint64_t faces = 0;
};

// The lines of a geometry file (Windows path) that start "v " and "f " (a tab serves as the
// blank), read in large blocks; none as soon as `superseded` answers true. Throws PlatformError.
std::optional<ObjCounts> CountObj(const FileSystem& fs, const std::string& path,
                                  const std::function<bool()>& superseded = {});

}  // namespace bw
