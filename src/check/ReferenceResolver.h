#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "check/CheckTypes.h"
#include "check/RuntimeIndex.h"
#include "platform/DriveMap.h"

namespace bw::check {

struct Resolution {
    RefStatus status = RefStatus::Missing;
    std::vector<std::string> candidates;  // host paths, for Moved and Ambiguous
};

// The folder, relative to the Runtime folder, where the locate step looks for a file named by a
// reference: by the reference's last three characters ("obj" -> "Geometries", "cr2" ->
// "Libraries/character" ..., compared with case) or any image extension (without case) ->
// "Textures"; "" (the whole Runtime folder) for anything else.
std::string SearchFolderFor(std::string_view reference);

// The path below the Runtime folder `runtime` (host path) that `reference` names, read as the
// resolver reads it: names joined by "/", letter case as written, "." and ".." taken; a drive path
// goes through `drives`. None when it names no place inside that folder. Whether a file lies there
// is not asked.
std::optional<std::string> RuntimeRelativeOf(std::string_view reference, const std::string& runtime,
                                             const DriveMap& drives);

// Decides where each reference of the library files under one Runtime folder stands. Mac-style
// paths (":Runtime:Textures:a.jpg") are read from the folder holding the Runtime folder; Windows
// paths with a drive go through the drive map. Not for use by several threads at once.
class ReferenceResolver {
  public:
    ReferenceResolver(const RuntimeIndex& index, const DriveMap& drives);

    // The same reference always gets the same answer, worked out once; it stays valid as long as
    // the resolver.
    const Resolution& Resolve(std::string_view reference);

  private:
    Resolution Work(std::string_view reference);

    bool ExistsOnDisk(const std::string& key, const std::string& hostPath);
    bool LocalFileExists(const std::vector<std::string>& components);

    const RuntimeIndex& index_;
    const DriveMap& drives_;
    std::string runtimeName_;                     // the Runtime folder's own name
    std::string poserRoot_;                       // the folder that holds it
    std::unordered_map<std::string, bool> disk_;  // answers for paths outside the index
    // Looked up by string_view, so a remembered answer costs no copy of the reference.
    struct Hash {
        using is_transparent = void;
        size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
    };
    std::unordered_map<std::string, Resolution, Hash, std::equal_to<>> answers_;
};

}  // namespace bw::check
