#pragma once

#include <cstddef>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "check/CheckTypes.h"
#include "platform/DriveMap.h"

namespace bw::repair {

struct UnusedFile {
    std::string path;  // host path
    uint64_t size = 0;
};

// The content of a Runtime folder that none of its library files uses.
struct UnusedContent {
    std::vector<UnusedFile> files;  // sorted by path
    uint64_t totalSize = 0;
    // Unreadable rows of the check: what those library files use is unknown, so the list may name
    // files they use. Worth saying before anything is deleted.
    size_t unreadable = 0;
};

// The images and geometries under the Runtime folder's Textures and Geometries folders (any
// letter case) that no reference of `rows` uses (see UsedRelatives): `rows` are every row of a
// check of `runtime` that ran to its end, `drives` the drive map it ran with. Folders that cannot
// be listed are passed over, so nothing in them is ever offered for deletion. Throws
// PlatformError when the Runtime folder cannot be listed.
UnusedContent FindUnusedContent(const std::string& runtime,
                                const std::vector<check::CheckRow>& rows, const DriveMap& drives);

// True for the names the unused content lists: the program's image extensions and jpeg, tiff;
// geometries (obj, obz).
bool IsContentFileName(std::string_view name);

// CSV with a header line: file,size (host path, bytes), quoted as the check's CSV report quotes.
void WriteUnusedCsv(std::ostream& out, const UnusedContent& content);

}  // namespace bw::repair
