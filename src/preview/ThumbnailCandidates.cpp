#include "preview/ThumbnailCandidates.h"

#include "fileops/Companions.h"
#include "platform/FileSystem.h"
#include "platform/Text.h"

namespace bw {

std::vector<Thumbnail> ThumbnailCandidates(const FileSystem& fs, const std::string& libraryPath) {
    const size_t slash = libraryPath.rfind('\\');
    const std::string folder = slash == std::string::npos ? "" : libraryPath.substr(0, slash + 1);
    std::vector<Thumbnail> out;
    // Companion names come .rsr first; a .png is a plain picture and the quicker read, so it leads.
    for (const std::string& name : CompanionNames(libraryPath.substr(folder.size()))) {
        const ThumbnailKind kind =
            EndsWith(AsciiLower(name), "png") ? ThumbnailKind::Png : ThumbnailKind::Rsr;
        if (fs.FileExists(folder + name)) out.push_back({kind, folder + name});
    }
    if (out.size() == 2 && out[0].kind == ThumbnailKind::Rsr) std::swap(out[0], out[1]);
    return out;
}

}  // namespace bw
