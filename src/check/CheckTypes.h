#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "check/SharedText.h"

namespace bw::check {

// The library-file keywords whose values name other files.
enum class Keyword : uint8_t {
    FigureResFile,
    ObjFileGeom,
    ObjFile,
    ReadScript,
    TextureMap,
    BumpMap,
    ReflectionMap,
    TransparencyMap,
    File,
    MorphBinaryFile,
    InjectPMDFileMorphs,
    HairCacheFile,
};
inline constexpr int kKeywordCount = 12;

// The keyword as library files spell it ("textureMap").
std::string_view KeywordName(Keyword keyword);
// The keyword spelled exactly so, or no value.
std::optional<Keyword> KeywordNamed(std::string_view text);

// What became of one reference.
enum class RefStatus : uint8_t {
    Ok,          // the file is where the reference says, letter case aside
    Moved,       // not there; one file of that name lies in the folder the locate step searches
    Ambiguous,   // not there; several files of that name lie in that folder
    Missing,     // no file of that name in that folder
    Internal,    // a resource of the program (GetStringRes), not a file
    Unreadable,  // the library file itself could not be read
};
inline constexpr int kStatusCount = 6;

// "ok", "moved", "ambiguous", "missing", "internal", "unreadable".
std::string_view StatusName(RefStatus status);
// Moved, ambiguous, missing and unreadable rows are problems; ok and internal are not.
bool IsProblem(RefStatus status);

// One reference as read from a library file.
struct ExtractedReference {
    uint32_t line = 0;  // 1-based; CR LF, LF and a lone CR each end a line
    Keyword keyword = Keyword::FigureResFile;
    std::string path;  // as written, without enclosing quotes
    bool operator==(const ExtractedReference&) const = default;
};

// One row of the check's result: a reference and its status, or an unreadable library file.
struct CheckRow {
    SharedText file;  // host path of the library file (or of a folder that could not be listed)
    uint32_t line = 0;
    std::optional<Keyword> keyword;
    SharedText reference;
    RefStatus status = RefStatus::Ok;
    std::vector<std::string> candidates;  // host paths of the files found elsewhere
    std::string reason;                   // why an unreadable file could not be read
};

}  // namespace bw::check
