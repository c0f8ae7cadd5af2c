#include "repair/RuntimeFolderOf.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include "platform/Text.h"
#include "repair/ReferenceUse.h"

namespace bw::repair {

namespace {

bool HoldsLibraries(const std::string& folder) {
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return false;
    bool found = false;
    while (const dirent* e = ::readdir(dir)) {
        struct stat st {};
        if (AsciiEqualsIgnoreCase(e->d_name, "Libraries") &&
            ::fstatat(::dirfd(dir), e->d_name, &st, 0) == 0 && S_ISDIR(st.st_mode)) {
            found = true;
            break;
        }
    }
    ::closedir(dir);
    return found;
}

}  // namespace

std::optional<std::string> RuntimeFolderOf(const std::string& hostPath) {
    std::string path = WithoutTrailingSlashes(hostPath);
    for (size_t slash = path.rfind('/'); slash != std::string::npos && slash > 0;
         slash = path.rfind('/')) {
        path.resize(slash);
        const std::string_view name = std::string_view(path).substr(path.rfind('/') + 1);
        if (AsciiEqualsIgnoreCase(name, "Runtime") && HoldsLibraries(path)) return path;
    }
    return std::nullopt;
}

}  // namespace bw::repair
