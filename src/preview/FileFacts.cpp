#include "preview/FileFacts.h"

#include <sys/stat.h>

#include "platform/FileSystem.h"
#include "platform/PlatformError.h"

namespace bw {

std::optional<FileFacts> StatFile(const FileSystem& fs, const std::string& path) {
    try {
        struct stat st {};
        if (::stat(fs.HostPath(path).c_str(), &st) != 0) return std::nullopt;
        return FileFacts{static_cast<uint64_t>(st.st_size), st.st_mtime};
    } catch (const PlatformError&) {
        return std::nullopt;
    }
}

}  // namespace bw
