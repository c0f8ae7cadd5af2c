#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "check/CheckTypes.h"
#include "check/FileReferences.h"
#include "check/LibraryFileReader.h"

struct sqlite3;

namespace bw::check {

// One library file as the cache holds it.
struct CachedFile {
    std::string_view relative;  // below the Runtime folder, as spelt on disk
    FileStamp stamp;
    uint32_t referenceCount = 0;
    size_t referencesAt = 0;  // where its references begin in the cached bytes
};

// What the cache holds for one Runtime folder: its library files sorted by relative path, each
// with its references, whose paths are kept once each in a table of distinct references.
class CachedLibrary {
  public:
    CachedLibrary() = default;
    // Its views point into its own bytes, which a copy would not share.
    CachedLibrary(const CachedLibrary&) = delete;
    CachedLibrary& operator=(const CachedLibrary&) = delete;
    CachedLibrary(CachedLibrary&&) = default;
    CachedLibrary& operator=(CachedLibrary&&) = default;
    // Takes the bytes a LibraryCacheWriter made; empty when they are damaged in any way.
    static CachedLibrary FromBytes(std::string bytes);

    bool empty() const { return files_.empty(); }
    size_t byteSize() const { return bytes_.size(); }
    const std::vector<CachedFile>& files() const { return files_; }
    // The file at `relative`, exactly so spelt, or null.
    const CachedFile* Find(std::string_view relative) const;

    // The distinct reference paths; a reference names one by its number.
    size_t referenceCount() const { return paths_.size(); }
    std::string_view path(uint32_t id) const { return paths_[id]; }

    struct Reference {
        uint32_t line;
        Keyword keyword;
        uint32_t path;  // number of its path
    };
    // Calls `f(Reference)` for each reference of `file`, in line order.
    template <class F>
    void ForEachReference(const CachedFile& file, F&& f) const;

  private:
    std::string bytes_;
    std::vector<char> relatives_;  // the files' relative paths end to end, spelt out
    std::vector<std::string_view> paths_;
    std::vector<CachedFile> files_;
};

// Builds the bytes of a CachedLibrary, files given in ascending order of relative path (AddFile,
// AddCachedFile) or each with its place in that order (SetFile, SetCachedFile); not both.
class LibraryCacheWriter {
  public:
    LibraryCacheWriter();
    // Makes room for about `bytes` more at once.
    void Reserve(size_t bytes);
    void AddFile(std::string_view relative, const FileStamp& stamp,
                 const std::vector<ExtractedReference>& references);
    void AddFile(std::string_view relative, const FileStamp& stamp,
                 const FileReferences& references);
    // Copies a file from an earlier cache.
    void AddCachedFile(const CachedLibrary& from, const CachedFile& file);

    // The same, for files met in any order: `slot` is the file's place among them in ascending
    // order of relative path. A check stores each file as it is read, while its references are
    // still at hand; the bytes keep them in that order, and a reader puts them in slot order.
    // `pathIds` holds the number PathId gave each reference's path: the check has them at hand.
    void SetFile(size_t slot, std::string_view relative, const FileStamp& stamp,
                 const FileReferences& references, const std::vector<uint32_t>& pathIds);
    void SetCachedFile(size_t slot, const CachedLibrary& from, const CachedFile& file);

    // The number a reference path goes by in the bytes.
    uint32_t PathId(std::string_view path);

    std::string Finish();

  private:
    void AddHead(size_t slot, std::string_view relative, const FileStamp& stamp, size_t references);
    void AddCachedReferences(const CachedLibrary& from, const CachedFile& file);

    std::string bytes_;  // the header, to be filled in by Finish, and the records so far
    size_t fileCount_ = 0;
    std::string previous_;  // the relative path of the record before
    std::vector<std::string_view> paths_;
    std::unordered_map<std::string_view, uint32_t> ids_;
    std::deque<std::string> owned_;  // each distinct path; a deque keeps them in place
};

// The extracted references of the library files under each Runtime folder, kept in an SQLite
// database, one record per Runtime folder; each file is keyed by size, modification time and
// status-change time (moved by a change of permissions). Only ever a cache: any trouble with the
// database (missing, damaged, written by another version, locked) turns it off or rebuilds it,
// never changes an answer.
class CheckCache {
  public:
    // Opens or creates the database; a damaged file or one from another version starts afresh.
    explicit CheckCache(const std::string& databasePath);
    ~CheckCache();
    CheckCache(const CheckCache&) = delete;
    CheckCache& operator=(const CheckCache&) = delete;

    // False when the database could not be opened; the check then reads every file.
    bool enabled() const { return db_ != nullptr; }

    // What is cached for the Runtime folder at host path `runtime`; empty when nothing is.
    CachedLibrary Load(const std::string& runtime);
    // Replaces what is cached for `runtime` with `bytes` (from LibraryCacheWriter). False (and the
    // cache off) on failure.
    bool Store(const std::string& runtime, const std::string& bytes);

    // $XDG_CACHE_HOME/Brindlewood/library-check.sqlite, else under ~/.cache.
    static std::string DefaultPath();

  private:
    bool Open();
    bool Prepare();
    void StartAfresh();
    void Close();
    bool Exec(const char* sql);
    // After a statement failed with `rc`: a damaged database is rebuilt, a locked one left alone.
    void GiveUp(int rc);

    std::string path_;
    sqlite3* db_ = nullptr;
};

namespace cache_detail {
// A varint already checked by CachedLibrary::FromBytes.
inline uint64_t TakeVarint(const char*& p) {
    uint64_t v = 0;
    for (int shift = 0;; shift += 7) {
        const auto byte = static_cast<unsigned char>(*p++);
        v |= static_cast<uint64_t>(byte & 0x7F) << shift;
        if ((byte & 0x80) == 0) return v;
    }
}
}  // namespace cache_detail

template <class F>
void CachedLibrary::ForEachReference(const CachedFile& file, F&& f) const {
    const char* p = bytes_.data() + file.referencesAt;
    for (uint32_t i = 0; i < file.referenceCount; ++i) {
        const auto line = static_cast<uint32_t>(cache_detail::TakeVarint(p));
        const auto keyword = static_cast<Keyword>(*p++);
        const auto id = static_cast<uint32_t>(cache_detail::TakeVarint(p));
        f(Reference{line, keyword, id});
    }
}

}  // namespace bw::check
