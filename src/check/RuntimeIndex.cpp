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

RuntimeIndex RuntimeIndex::Build(const std::string& runtimeHost, const std::atomic<bool>* cancel,
                                 const StampFilter& stampIf, const UnstampedHandler& unstamped) {
    RuntimeIndex index;
    index.runtime_ = runtimeHost;
    while (index.runtime_.size() > 1 && index.runtime_.back() == '/') index.runtime_.pop_back();
    struct stat st {};
    if (::stat(index.runtime_.c_str(), &st) != 0)
        throw PlatformError::FromNumber(err::kPathNotFound);
    if (!S_ISDIR(st.st_mode)) throw PlatformError::FromNumber(err::kPathNotFound);
    index.Walk(cancel, stampIf, unstamped);
    if (!index.unlisted_.empty() && index.unlisted_.front().path == index.runtime_)
        throw PlatformError::FromNumber(err::kPermissionDenied);
    return index;
}

namespace {

// FNV-1a of the name with ASCII letters lower-cased, folded to 32 bits.
uint32_t NameHash(std::string_view name) {
    uint64_t h = 14695981039346656037ull;
    for (const char c : name) {
        h ^= static_cast<unsigned char>(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c);
        h *= 1099511628211ull;
    }
    return static_cast<uint32_t>(h ^ (h >> 32));
}

std::string_view NameOf(std::string_view relative) {
    const size_t slash = relative.rfind('/');
    return slash == std::string_view::npos ? relative : relative.substr(slash + 1);
}

std::string_view FolderOf(std::string_view relative) {
    const size_t slash = relative.rfind('/');
    return slash == std::string_view::npos ? std::string_view() : relative.substr(0, slash);
}

// Whether the files of folder `a` come before those of folder `b`: compares the folders' paths
// with a '/' after each.
bool FolderBefore(std::string_view a, std::string_view b) {
    const size_t n = std::min(a.size(), b.size());
    if (const int order = a.substr(0, n).compare(b.substr(0, n)); order != 0) return order < 0;
    if (a.size() == b.size()) return false;
    return a.size() < b.size() ? '/' < static_cast<unsigned char>(b[n])
                               : static_cast<unsigned char>(a[n]) < '/';
}

using Ordered = std::pair<std::string_view, LibraryFileEntry*>;  // relative path, entry

// Puts the library files in order of relative path. A folder's files came together: sorted by
// name, and the folders by path, they are nearly always in order already at a fraction of the
// cost of comparing whole paths with long beginnings in common. Where a folder holds both files
// and folders, a file's name may belong between them; the check below then sorts the lot.
void PutInOrder(std::vector<Ordered>& order, std::vector<std::pair<size_t, size_t>>& groups) {
    for (const auto& [from, to] : groups) {
        // The folder's path and its '/' are the same in every one: the names decide.
        const size_t nameAt = FolderOf(order[from].first).size() + 1;
        std::sort(order.begin() + static_cast<ptrdiff_t>(from),
                  order.begin() + static_cast<ptrdiff_t>(to),
                  [nameAt](const Ordered& a, const Ordered& b) {
                      return a.first.substr(nameAt) < b.first.substr(nameAt);
                  });
    }
    std::sort(groups.begin(), groups.end(), [&order](const auto& a, const auto& b) {
        return FolderBefore(FolderOf(order[a.first].first), FolderOf(order[b.first].first));
    });
    std::vector<Ordered> sorted;
    sorted.reserve(order.size());
    for (const auto& [from, to] : groups)
        sorted.insert(sorted.end(), order.begin() + static_cast<ptrdiff_t>(from),
                      order.begin() + static_cast<ptrdiff_t>(to));
    order = std::move(sorted);
    for (size_t i = 1; i < order.size(); ++i)
        if (!(order[i - 1].first < order[i].first)) {
            std::sort(order.begin(), order.end(),
                      [](const Ordered& a, const Ordered& b) { return a.first < b.first; });
            return;
        }
}

// What one walking thread met.
struct WalkPart {
    // The relative paths of the files, end to end in one text: one allocation for them all.
    std::string text;
    std::vector<std::pair<uint32_t, uint32_t>> files;  // where each lies in text, how long
    std::vector<uint32_t> hashes;                      // NameHash of each file's name
    std::vector<LibraryFileEntry> library;
    std::vector<std::pair<uint32_t, uint32_t>> libraryAt;  // each one's relative path in text
    std::vector<std::pair<size_t, size_t>> groups;  // each folder's run of entries in library
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

// Lists one folder into `part`; answers its sub-folders.
std::vector<std::string> ListFolder(const std::string& runtime, const std::string& folder,
                                    const StampFilter& stampIf, const UnstampedHandler& unstamped,
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
    std::vector<size_t> handOn;  // the folder's unmeasured library files, by place in part.library
    const size_t groupFrom = part.library.size();
    while (const dirent* e = ::readdir(d.dir)) {
        const std::string_view name = e->d_name;
        if (name == "." || name == "..") continue;
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
            subfolders.push_back(folder.empty() ? std::string(name)
                                                : folder + "/" + std::string(name));
            continue;
        }
        if (type == DT_LNK) {
            // A link counts as the file it leads to; a link to a folder is never followed.
            if (::fstatat(fd, e->d_name, &st, 0) != 0 || !S_ISREG(st.st_mode)) continue;
            haveStat = true;
        } else if (type != DT_REG) {
            continue;
        }
        const size_t at = part.text.size();
        if (!folder.empty()) {
            part.text += folder;
            part.text += '/';
        }
        part.text += name;
        const std::string_view relative(part.text.data() + at, part.text.size() - at);
        if (libraries && IsLibraryFileName(name)) {
            std::string path;
            path.reserve(runtime.size() + 1 + relative.size());
            path.append(runtime).append(1, '/').append(relative);
            LibraryFileEntry entry{std::move(path), {}, false, IsCompressedLibraryFileName(name)};
            const bool wanted = haveStat || !stampIf || stampIf(relative);
            if (wanted && (haveStat || ::fstatat(fd, e->d_name, &st, 0) == 0)) {
                entry.stamp = StampOf(st);
                entry.stamped = true;
            }
            if (!wanted && unstamped) handOn.push_back(part.library.size());
            // One that vanished since it was listed is left out, as if listed a moment later.
            if (entry.stamped || !wanted) {
                part.library.push_back(std::move(entry));
                part.libraryAt.emplace_back(static_cast<uint32_t>(at),
                                            static_cast<uint32_t>(relative.size()));
            }
        }
        part.hashes.push_back(NameHash(name));
        part.files.emplace_back(static_cast<uint32_t>(at), static_cast<uint32_t>(relative.size()));
    }
    if (!handOn.empty()) {
        std::vector<const LibraryFileEntry*> files;
        files.reserve(handOn.size());
        for (const size_t i : handOn) files.push_back(&part.library[i]);
        const size_t first = unstamped(files);
        for (size_t k = 0; k < handOn.size(); ++k) part.library[handOn[k]].handedOn = first + k;
    }
    if (part.library.size() > groupFrom) part.groups.emplace_back(groupFrom, part.library.size());
    return subfolders;
}

}  // namespace

void RuntimeIndex::Walk(const std::atomic<bool>* cancel, const StampFilter& stampIf,
                        const UnstampedHandler& unstamped) {
    // Two walkers per processor: a stat call may wait for the disk, and the others go on meanwhile.
    const unsigned walkers = std::clamp(2 * std::thread::hardware_concurrency(), 2u, 8u);
    FolderQueue queue(cancel);
    std::vector<WalkPart> parts(walkers);
    const auto walk = [&](WalkPart& part) {
        while (auto folder = queue.Next()) {
            auto subfolders = ListFolder(runtime_, *folder, stampIf, unstamped, part);
            queue.Done(subfolders);
        }
    };
    std::vector<std::thread> threads;
    for (unsigned i = 1; i < walkers; ++i) threads.emplace_back(walk, std::ref(parts[i]));
    walk(parts[0]);
    for (auto& t : threads) t.join();

    size_t total = 0;
    for (const auto& part : parts) total += part.files.size();
    relatives_.reserve(total);
    byName_.reserve(total);
    texts_.reserve(parts.size());  // never grows again: the views below point into its strings
    // The walkers met the folders in no fixed order; the results should not depend on it. The
    // library files are put in order by their relative paths where they lie end to end in the
    // text, rather than by their own paths, each a few pointers away.
    std::vector<Ordered> order;
    std::vector<std::pair<size_t, size_t>> groups;
    for (auto& part : parts) {
        const std::string& text = texts_.emplace_back(std::move(part.text));
        for (size_t i = 0; i < part.files.size(); ++i) {
            byName_.push_back(uint64_t{part.hashes[i]} << 32 | relatives_.size());
            const auto [at, size] = part.files[i];
            relatives_.emplace_back(text.data() + at, size);
        }
        for (const auto& [from, to] : part.groups)
            groups.emplace_back(order.size() + from, order.size() + to);
        for (size_t i = 0; i < part.library.size(); ++i) {
            const auto [at, size] = part.libraryAt[i];
            order.emplace_back(std::string_view(text.data() + at, size), &part.library[i]);
        }
        unlisted_.insert(unlisted_.end(), part.unlisted.begin(), part.unlisted.end());
    }
    std::sort(byName_.begin(), byName_.end());
    PutInOrder(order, groups);
    libraryFiles_.reserve(order.size());
    for (const auto& [relative, entry] : order) libraryFiles_.push_back(std::move(*entry));
    std::sort(unlisted_.begin(), unlisted_.end(),
              [](const auto& a, const auto& b) { return a.path < b.path; });
}

std::pair<const uint64_t*, const uint64_t*> RuntimeIndex::Named(std::string_view name) const {
    const uint64_t hash = NameHash(name);
    const auto from = std::lower_bound(byName_.begin(), byName_.end(), hash << 32);
    auto to = from;
    while (to != byName_.end() && *to >> 32 == hash) ++to;
    return {byName_.data() + (from - byName_.begin()), byName_.data() + (to - byName_.begin())};
}

bool RuntimeIndex::Contains(std::string_view relative) const {
    const auto [from, to] = Named(NameOf(relative));
    for (auto it = from; it != to; ++it)
        if (AsciiEqualsIgnoreCase(relatives_[static_cast<uint32_t>(*it)], relative)) return true;
    return false;
}

std::vector<std::string> RuntimeIndex::FilesNamed(std::string_view name,
                                                  std::string_view folder) const {
    std::vector<std::string> found;
    const auto [from, to] = Named(name);
    for (auto it = from; it != to; ++it) {
        const std::string_view rel = relatives_[static_cast<uint32_t>(*it)];
        if (rel.size() > folder.size() + (folder.empty() ? 0 : 1) &&
            (folder.empty() ||
             (rel[folder.size()] == '/' &&
              AsciiEqualsIgnoreCase(std::string_view(rel).substr(0, folder.size()), folder))) &&
            AsciiEqualsIgnoreCase(NameOf(rel), name))
            found.push_back(runtime_ + "/" + std::string(rel));
    }
    std::sort(found.begin(), found.end());
    return found;
}

}  // namespace bw::check
