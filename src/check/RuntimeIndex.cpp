#include "check/RuntimeIndex.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "check/LibraryFileReader.h"
#include "platform/PlatformError.h"
#include "platform/Text.h"

namespace bw::check {

namespace {

// Closes the folder stream on every way out.
struct Dir {
    DIR* dir;
    ~Dir() {
        if (dir) ::closedir(dir);
    }
};

bool UnderLibraries(const std::string& relative) {
    const size_t slash = relative.find('/');
    return slash != std::string::npos &&
           AsciiEqualsIgnoreCase(std::string_view(relative).substr(0, slash), "Libraries");
}

}  // namespace

RuntimeIndex RuntimeIndex::Build(const std::string& runtimeHost, const std::atomic<bool>* cancel) {
    RuntimeIndex index;
    index.runtime_ = runtimeHost;
    while (index.runtime_.size() > 1 && index.runtime_.back() == '/') index.runtime_.pop_back();
    struct stat st {};
    if (::stat(index.runtime_.c_str(), &st) != 0)
        throw PlatformError::FromNumber(err::kPathNotFound);
    if (!S_ISDIR(st.st_mode)) throw PlatformError::FromNumber(err::kPathNotFound);
    index.Walk(cancel);
    if (!index.unlisted_.empty() && index.unlisted_.front().path == index.runtime_)
        throw PlatformError::FromNumber(err::kPermissionDenied);
    return index;
}

void RuntimeIndex::Walk(const std::atomic<bool>* cancel) {
    // Folders still to list, relative to the Runtime folder ("" is the folder itself).
    std::vector<std::string> pending{""};
    while (!pending.empty()) {
        if (cancel && cancel->load(std::memory_order_relaxed)) return;
        const std::string folder = std::move(pending.back());
        pending.pop_back();
        const std::string host = folder.empty() ? runtime_ : runtime_ + "/" + folder;
        Dir d{::opendir(host.c_str())};
        if (!d.dir) {
            unlisted_.push_back({host, PlatformError::FromErrno(errno).description()});
            continue;
        }
        const int fd = ::dirfd(d.dir);
        const bool libraries = UnderLibraries(folder + "/");
        std::vector<std::string> subfolders;
        while (const dirent* e = ::readdir(d.dir)) {
            const std::string_view name = e->d_name;
            if (name == "." || name == "..") continue;
            const std::string relative =
                folder.empty() ? std::string(name) : folder + "/" + std::string(name);
            unsigned char type = e->d_type;
            struct stat st {};
            bool haveStat = false;
            if (type == DT_UNKNOWN) {
                if (::fstatat(fd, e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
                haveStat = true;
                type = S_ISDIR(st.st_mode)   ? DT_DIR
                       : S_ISLNK(st.st_mode) ? DT_LNK
                       : S_ISREG(st.st_mode) ? DT_REG
                                             : DT_UNKNOWN;
            }
            if (type == DT_DIR) {
                subfolders.push_back(relative);
                continue;
            }
            if (type == DT_LNK) {
                // A link counts as the file it leads to; a link to a folder is never followed.
                if (::fstatat(fd, e->d_name, &st, 0) != 0 || !S_ISREG(st.st_mode)) continue;
                haveStat = true;
            } else if (type != DT_REG) {
                continue;
            }
            AddFile(relative);
            if (libraries && IsLibraryFileName(name)) {
                if (!haveStat && ::fstatat(fd, e->d_name, &st, 0) != 0) continue;
                libraryFiles_.push_back(
                    {runtime_ + "/" + relative, static_cast<uint64_t>(st.st_size),
                     static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec,
                     static_cast<int64_t>(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec,
                     IsCompressedLibraryFileName(name)});
            }
        }
        // Listed in reverse so the stack hands them out in their listing order.
        pending.insert(pending.end(), subfolders.rbegin(), subfolders.rend());
    }
}

void RuntimeIndex::AddFile(const std::string& relative) {
    const auto id = static_cast<uint32_t>(relatives_.size());
    relatives_.push_back(relative);
    std::string lower = AsciiLower(relative);
    const size_t slash = lower.rfind('/');
    const std::string_view name =
        std::string_view(lower).substr(slash == std::string::npos ? 0 : slash + 1);
    if (auto it = byName_.find(std::string(name)); it != byName_.end()) {
        it->second.push_back(id);
    } else {
        byName_.emplace(std::string(name), std::vector<uint32_t>{id});
    }
    byPath_.emplace(std::move(lower), id);
}

bool RuntimeIndex::Contains(std::string_view relative) const {
    return byPath_.count(AsciiLower(relative)) != 0;
}

std::vector<std::string> RuntimeIndex::FilesNamed(std::string_view name,
                                                  std::string_view folder) const {
    std::vector<std::string> found;
    const auto it = byName_.find(AsciiLower(name));
    if (it == byName_.end()) return found;
    const std::string prefix = folder.empty() ? std::string() : AsciiLower(folder) + "/";
    for (uint32_t id : it->second) {
        const std::string& rel = relatives_[id];
        if (rel.size() > prefix.size() &&
            AsciiEqualsIgnoreCase(std::string_view(rel).substr(0, prefix.size()), prefix))
            found.push_back(runtime_ + "/" + rel);
    }
    std::sort(found.begin(), found.end());
    return found;
}

}  // namespace bw::check
