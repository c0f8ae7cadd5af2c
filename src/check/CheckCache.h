#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "check/CheckTypes.h"

struct sqlite3;

namespace bw::check {

// What the cache holds for one library file.
struct CachedFile {
    uint64_t size = 0;
    int64_t mtimeNs = 0;
    int64_t ctimeNs = 0;
    std::string blob;  // the references, as EncodeReferences wrote them
};

// A file's fresh references, to be stored.
struct CacheEntry {
    std::string path;
    uint64_t size = 0;
    int64_t mtimeNs = 0;
    int64_t ctimeNs = 0;
    const std::vector<ExtractedReference>* references = nullptr;
};

// The references of a file in a compact form, and back; no value when the bytes are damaged.
std::string EncodeReferences(const std::vector<ExtractedReference>& references);
std::optional<std::vector<ExtractedReference>> DecodeReferences(std::string_view blob);

// The extracted references of library files, kept in an SQLite database keyed by host path,
// size, modification time and status-change time (moved by a change of permissions). Only ever a
// cache: any trouble with the database (missing, damaged, written by another version, locked) turns
// it off or rebuilds it, never changes an answer.
class CheckCache {
  public:
    // Opens or creates the database; a damaged file or one from another version starts afresh.
    explicit CheckCache(const std::string& databasePath);
    ~CheckCache();
    CheckCache(const CheckCache&) = delete;
    CheckCache& operator=(const CheckCache&) = delete;

    // False when the database could not be opened; the check then reads every file.
    bool enabled() const { return db_ != nullptr; }

    // Every cached file whose host path begins with `folder` + "/", by host path.
    std::unordered_map<std::string, CachedFile> Load(const std::string& folder);
    // Stores `fresh` and forgets `gone`, in one transaction. False (and the cache off) on failure.
    bool Store(const std::vector<CacheEntry>& fresh, const std::vector<std::string>& gone);

    // $XDG_CACHE_HOME/Brindlewood/library-check.sqlite, else under ~/.cache.
    static std::string DefaultPath();

  private:
    bool Open();
    bool Prepare();
    void StartAfresh();
    void Close();
    bool Exec(const char* sql);

    std::string path_;
    sqlite3* db_ = nullptr;
};

}  // namespace bw::check
