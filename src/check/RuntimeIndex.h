#pragma once

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace bw::check {

// A library file met by the walk, with what the cache keys it by.
struct LibraryFileEntry {
    std::string path;  // host path
    uint64_t size = 0;
    int64_t mtimeNs = 0;
    int64_t ctimeNs = 0;  // changes with permissions too, which decide whether it can be read
    bool compressed = false;
};

// A folder the walk could not list, with the reason.
struct UnlistedFolder {
    std::string path;
    std::string reason;
};

// Every file under one Runtime folder, from one walk of its directories on a few threads (links
// to folders are not followed), with lookups that ignore the letter case of ASCII letters.
class RuntimeIndex {
  public:
    // Walks `runtimeHost`; stops early, incomplete, when `cancel` is set. Throws PlatformError
    // when the folder itself cannot be listed.
    static RuntimeIndex Build(const std::string& runtimeHost,
                              const std::atomic<bool>* cancel = nullptr);

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
    void Walk(const std::atomic<bool>* cancel);
    void AddFile(const std::string& relative);

    std::string runtime_;
    std::vector<LibraryFileEntry> libraryFiles_;
    std::vector<UnlistedFolder> unlisted_;
    std::vector<std::string> relatives_;                             // as spelt on disk
    std::unordered_map<std::string, std::vector<uint32_t>> byName_;  // lower-cased name
};

}  // namespace bw::check
