#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "check/LibraryFileReader.h"
#include "check/SharedText.h"

namespace bw::check {

// A library file met by the walk, with what the cache keys it by.
struct LibraryFileEntry {
    SharedText path;  // host path, shared with the rows that name the file
    FileStamp stamp;  // when `stamped`
    bool stamped = false;
    bool compressed = false;
    size_t handedOn = kNotHandedOn;  // its number from the walk's UnstampedHandler
    static constexpr size_t kNotHandedOn = static_cast<size_t>(-1);
};

// Says whether the walk should measure the library file at `relative` (below the Runtime folder);
// called on the walking threads at once.
using StampFilter = std::function<bool(std::string_view relative)>;
// Takes the library files of one folder that the walk leaves unmeasured, as soon as the folder is
// listed, so that they can be read while the walk goes on. Answers a number for the first, which
// its entry keeps; the others get the numbers that follow. Called on the walking threads at once.
using UnstampedHandler = std::function<size_t(const std::vector<const LibraryFileEntry*>& files)>;

// A folder the walk could not list, with the reason.
struct UnlistedFolder {
    std::string path;
    std::string reason;
};

// Every file under one Runtime folder, from one walk of its directories on a few threads (links
// to folders are not followed), with lookups that ignore the letter case of ASCII letters.
class RuntimeIndex {
  public:
    // Its paths point into its own text, which a copy would not share.
    RuntimeIndex(const RuntimeIndex&) = delete;
    RuntimeIndex& operator=(const RuntimeIndex&) = delete;
    RuntimeIndex(RuntimeIndex&&) = default;
    RuntimeIndex& operator=(RuntimeIndex&&) = default;

    // Walks `runtimeHost`; stops early, incomplete, when `cancel` is set. Library files are
    // stamped when `stampIf` says so (all of them without it); the others cost no call beyond the
    // listing, and go to `unstamped` when given. Throws PlatformError when the folder itself
    // cannot be listed.
    static RuntimeIndex Build(const std::string& runtimeHost,
                              const std::atomic<bool>* cancel = nullptr,
                              const StampFilter& stampIf = {},
                              const UnstampedHandler& unstamped = {});

    const std::string& runtime() const { return runtime_; }
    // Library files under Runtime/Libraries (any case), in walk order.
    const std::vector<LibraryFileEntry>& libraryFiles() const { return libraryFiles_; }
    const std::vector<UnlistedFolder>& unlisted() const { return unlisted_; }

    // True when a file lies at `relative` ("Textures/a/b.jpg"), letter case aside.
    bool Contains(std::string_view relative) const;
    // Host paths of the files named `name` lying somewhere under the folder `folder` (relative,
    // "" for the whole Runtime folder), letter case aside, sorted.
    std::vector<std::string> FilesNamed(std::string_view name, std::string_view folder) const;

  private:
    RuntimeIndex() = default;
    void Walk(const std::atomic<bool>* cancel, const StampFilter& stampIf,
              const UnstampedHandler& unstamped);
    // The files whose names hash as `name` does, letter case aside (hashes may collide).
    std::pair<const uint64_t*, const uint64_t*> Named(std::string_view name) const;

    std::string runtime_;
    std::vector<LibraryFileEntry> libraryFiles_;
    std::vector<UnlistedFolder> unlisted_;
    std::vector<std::string> texts_;           // the walking threads' paths, end to end
    std::vector<std::string_view> relatives_;  // as spelt on disk, in texts_
    // Each file as (hash of its lower-cased name) << 32 | its place in relatives_, sorted: one
    // flat array instead of a map with a list per name.
    std::vector<uint64_t> byName_;
};

}  // namespace bw::check
