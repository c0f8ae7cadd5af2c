#include "check/RuntimeIndex.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

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

namespace {

// What one walking thread met.
struct WalkPart {
    std::vector<std::string> files;  // relative paths
    std::vector<LibraryFileEntry> library;
    std::vector<UnlistedFolder> unlisted;
};

// The folders still to list, shared by the walking threads.
class FolderQueue {
  public:
    explicit FolderQueue(const std::atomic<bool>* cancel) : cancel_(cancel) {
        pending_.push_back("");
    }

    // The next folder to list, or no value once every folder is listed (or Cancel was pressed).
    std::optional<std::string> Next() {
        std::unique_lock lock(mutex_);
        ready_.wait(lock, [this] { return !pending_.empty() || busy_ == 0 || Cancelled(); });
        if (pending_.empty() || Cancelled()) return std::nullopt;
        ++busy_;
        std::string folder = std::move(pending_.back());
        pending_.pop_back();
        return folder;
    }
    // Hands in the sub-folders of a folder just listed.
    void Done(std::vector<std::string>& subfolders) {
        std::lock_guard lock(mutex_);
        --busy_;
        pending_.insert(pending_.end(), std::make_move_iterator(subfolders.begin()),
                        std::make_move_iterator(subfolders.end()));
        ready_.notify_all();
    }

  private:
    bool Cancelled() const { return cancel_ && cancel_->load(std::memory_order_relaxed); }

    const std::atomic<bool>* cancel_;
    std::mutex mutex_;
    std::condition_variable ready_;
    std::vector<std::string> pending_;
    int busy_ = 0;
};

int64_t Nanoseconds(const timespec& t) {
    return static_cast<int64_t>(t.tv_sec) * 1000000000 + t.tv_nsec;
}

// Lists one folder into `part`; answers its sub-folders.
std::vector<std::string> ListFolder(const std::string& runtime, const std::string& folder,
                                    WalkPart& part) {
    std::vector<std::string> subfolders;
    const std::string host = folder.empty() ? runtime : runtime + "/" + folder;
    Dir d{::opendir(host.c_str())};
    if (!d.dir) {
        part.unlisted.push_back({host, PlatformError::FromErrno(errno).description()});
        return subfolders;
    }
    const int fd = ::dirfd(d.dir);
    const bool libraries = UnderLibraries(folder + "/");
    while (const dirent* e = ::readdir(d.dir)) {
        const std::string_view name = e->d_name;
        if (name == "." || name == "..") continue;
        std::string relative =
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
            subfolders.push_back(std::move(relative));
            continue;
        }
        if (type == DT_LNK) {
            // A link counts as the file it leads to; a link to a folder is never followed.
            if (::fstatat(fd, e->d_name, &st, 0) != 0 || !S_ISREG(st.st_mode)) continue;
            haveStat = true;
        } else if (type != DT_REG) {
            continue;
        }
        if (libraries && IsLibraryFileName(name) &&
            (haveStat || ::fstatat(fd, e->d_name, &st, 0) == 0))
            part.library.push_back({runtime + "/" + relative, static_cast<uint64_t>(st.st_size),
                                    Nanoseconds(st.st_mtim), Nanoseconds(st.st_ctim),
                                    IsCompressedLibraryFileName(name)});
        part.files.push_back(std::move(relative));
    }
    return subfolders;
}

}  // namespace

void RuntimeIndex::Walk(const std::atomic<bool>* cancel) {
    // Two walkers keep both processors busy with the many stat calls.
    const unsigned walkers = std::clamp(std::thread::hardware_concurrency(), 1u, 4u);
    FolderQueue queue(cancel);
    std::vector<WalkPart> parts(walkers);
    const auto walk = [&](WalkPart& part) {
        while (auto folder = queue.Next()) {
            auto subfolders = ListFolder(runtime_, *folder, part);
            queue.Done(subfolders);
        }
    };
    std::vector<std::thread> threads;
    for (unsigned i = 1; i < walkers; ++i) threads.emplace_back(walk, std::ref(parts[i]));
    walk(parts[0]);
    for (auto& t : threads) t.join();

    for (auto& part : parts) {
        for (const auto& f : part.files) AddFile(f);
        libraryFiles_.insert(libraryFiles_.end(), std::make_move_iterator(part.library.begin()),
                             std::make_move_iterator(part.library.end()));
        unlisted_.insert(unlisted_.end(), part.unlisted.begin(), part.unlisted.end());
    }
    // The walkers met the folders in no fixed order; the results should not depend on it.
    std::sort(libraryFiles_.begin(), libraryFiles_.end(),
              [](const auto& a, const auto& b) { return a.path < b.path; });
    std::sort(unlisted_.begin(), unlisted_.end(),
              [](const auto& a, const auto& b) { return a.path < b.path; });
}

void RuntimeIndex::AddFile(const std::string& relative) {
    const auto id = static_cast<uint32_t>(relatives_.size());
    const size_t slash = relative.rfind('/');
    std::string name =
        AsciiLower(std::string_view(relative).substr(slash == std::string::npos ? 0 : slash + 1));
    relatives_.push_back(relative);
    if (auto it = byName_.find(name); it != byName_.end()) {
        it->second.push_back(id);
    } else {
        byName_.emplace(std::move(name), std::vector<uint32_t>{id});
    }
}

bool RuntimeIndex::Contains(std::string_view relative) const {
    const size_t slash = relative.rfind('/');
    const auto it =
        byName_.find(AsciiLower(relative.substr(slash == std::string::npos ? 0 : slash + 1)));
    if (it == byName_.end()) return false;
    for (uint32_t id : it->second)
        if (AsciiEqualsIgnoreCase(relatives_[id], relative)) return true;
    return false;
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
