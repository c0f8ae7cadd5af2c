#pragma once

#include <string>
#include <vector>

namespace bw {

class FileSystem;

enum class ThumbnailKind { Png, Rsr };

struct Thumbnail {
    ThumbnailKind kind;
    std::string path;  // Windows path
};

// The thumbnail files beside a library file (Windows path) that exist, in the order to try them:
// the .png, then the .rsr whose PICT resource holds the picture. Never throws.
std::vector<Thumbnail> ThumbnailCandidates(const FileSystem& fs, const std::string& libraryPath);

}  // namespace bw
