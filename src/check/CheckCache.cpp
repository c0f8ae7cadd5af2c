#include "check/CheckCache.h"

#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "check/Prefault.h"

namespace bw::check {

namespace {

#define BW_STR2(x) #x
#define BW_STR(x) BW_STR2(x)
// Another program version may read files differently: its cache is not ours.
constexpr const char* kCacheVersion =
    "references-3 program-" BW_STR(BRINDLEWOOD_VERSION_MAJOR) "." BW_STR(
        BRINDLEWOOD_VERSION_MINOR) "." BW_STR(BRINDLEWOOD_VERSION_PATCH);
#undef BW_STR
#undef BW_STR2

// How long to wait for another process's lock before doing without the cache.
constexpr int kBusyTimeoutMs = 100;

void PutVarint(std::string& out, uint64_t v) {
    while (v >= 0x80) {
        out.push_back(static_cast<char>((v & 0x7F) | 0x80));
        v >>= 7;
    }
    out.push_back(static_cast<char>(v));
}

bool GetVarint(std::string_view& in, uint64_t& v) {
    v = 0;
    for (int shift = 0; shift < 64; shift += 7) {
        if (in.empty()) return false;
        const auto byte = static_cast<unsigned char>(in.front());
        in.remove_prefix(1);
        v |= static_cast<uint64_t>(byte & 0x7F) << shift;
        if ((byte & 0x80) == 0) return true;
    }
    return false;
}

// Finalizes a statement on every way out.
struct Statement {
    sqlite3_stmt* stmt = nullptr;
    ~Statement() { sqlite3_finalize(stmt); }
};

bool IsDamage(int rc) {
    const int primary = rc & 0xFF;
    return primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB;
}

uint64_t ZigZag(int64_t v) {
    return (static_cast<uint64_t>(v) << 1) ^ static_cast<uint64_t>(v >> 63);
}
int64_t UnZigZag(uint64_t v) { return static_cast<int64_t>(v >> 1) ^ -static_cast<int64_t>(v & 1); }

void PutString(std::string& out, std::string_view s) {
    PutVarint(out, s.size());
    out += s;
}

constexpr size_t kHeaderSize = 8;

bool GetString(std::string_view& in, std::string_view& s) {
    uint64_t length = 0;
    if (!GetVarint(in, length) || length > in.size()) return false;
    s = in.substr(0, length);
    in.remove_prefix(length);
    return true;
}

uint32_t GetU32(const char* p) {
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = v << 8 | static_cast<unsigned char>(p[i]);
    return v;
}

void SetU32(char* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<char>(v >> (8 * i));
}

}  // namespace

// The bytes: the number of files and of distinct reference paths (four bytes each, least
// significant first), the files' records, then the paths. The counts lead so that a writer can
// patch them in at the end, and a reader can check each path number as it meets it. A record
// begins with a number that puts the files in ascending order of relative path: a check writes
// each file as it is read, in no fixed order, and the reader sorts them by it. The relative path is
// written as the length it shares with the record before's and the rest, and the status-change time
// as its distance from the modification time: a few bytes where the whole would take dozens.
CachedLibrary CachedLibrary::FromBytes(std::string bytes) {
    CachedLibrary lib;
    lib.bytes_ = std::move(bytes);
    if (lib.bytes_.size() < kHeaderSize) return {};
    const uint32_t fileCount = GetU32(lib.bytes_.data()), pathCount = GetU32(lib.bytes_.data() + 4);
    std::string_view in = std::string_view(lib.bytes_).substr(kHeaderSize);
    // Every file and path takes at least a byte, which bounds the counts before reserving.
    if (fileCount > in.size() || pathCount > in.size()) return {};
    // The records as they come, each with its place; put in order of their places afterwards.
    struct Record {
        uint64_t slot;
        size_t relativeAt, relativeSize;
        CachedFile file;
    };
    std::vector<Record> records(fileCount);
    lib.relatives_.reserve(size_t{fileCount} * 64);
    size_t previousAt = 0, previousSize = 0;
    for (Record& record : records) {
        uint64_t shared = 0, mtime = 0, ctimeAfter = 0, refs = 0;
        std::string_view rest;
        if (!GetVarint(in, record.slot) || !GetVarint(in, shared) || shared > previousSize ||
            !GetString(in, rest))
            return {};
        const size_t at = lib.relatives_.size();
        lib.relatives_.resize(at + shared + rest.size());
        std::memmove(lib.relatives_.data() + at, lib.relatives_.data() + previousAt, shared);
        std::memcpy(lib.relatives_.data() + at + shared, rest.data(), rest.size());
        previousAt = record.relativeAt = at;
        previousSize = record.relativeSize = shared + rest.size();
        CachedFile& f = record.file;
        if (!GetVarint(in, f.stamp.size) || !GetVarint(in, mtime) || !GetVarint(in, ctimeAfter) ||
            !GetVarint(in, refs) || refs > in.size())
            return {};
        f.stamp.mtimeNs = UnZigZag(mtime);
        // In unsigned arithmetic, which wraps where the written difference did.
        f.stamp.ctimeNs = static_cast<int64_t>(static_cast<uint64_t>(f.stamp.mtimeNs) +
                                               static_cast<uint64_t>(UnZigZag(ctimeAfter)));
        f.referenceCount = static_cast<uint32_t>(refs);
        f.referencesAt = static_cast<size_t>(in.data() - lib.bytes_.data());
        for (uint64_t r = 0; r < refs; ++r) {
            uint64_t line = 0, id = 0;
            if (!GetVarint(in, line) || line == 0 || line > UINT32_MAX || in.empty() ||
                static_cast<unsigned char>(in.front()) >= kKeywordCount)
                return {};
            in.remove_prefix(1);
            if (!GetVarint(in, id) || id >= pathCount) return {};
        }
    }
    std::sort(records.begin(), records.end(),
              [](const Record& a, const Record& b) { return a.slot < b.slot; });
    lib.files_.reserve(fileCount);
    for (const Record& record : records) {
        if (!lib.files_.empty() && record.slot == (&record - 1)->slot) return {};
        CachedFile& f = lib.files_.emplace_back(record.file);
        f.relative =
            std::string_view(lib.relatives_.data() + record.relativeAt, record.relativeSize);
        // Two records in one place, or places out of step with the paths, are damage.
        if (lib.files_.size() > 1 && !(lib.files_[lib.files_.size() - 2].relative < f.relative))
            return {};
    }
    lib.paths_.resize(pathCount);
    for (auto& path : lib.paths_)
        if (!GetString(in, path)) return {};
    if (!in.empty()) return {};
    return lib;
}

const CachedFile* CachedLibrary::Find(std::string_view relative) const {
    const auto it =
        std::lower_bound(files_.begin(), files_.end(), relative,
                         [](const CachedFile& f, std::string_view r) { return f.relative < r; });
    return it != files_.end() && it->relative == relative ? &*it : nullptr;
}

uint32_t LibraryCacheWriter::PathId(std::string_view path) {
    if (const auto it = ids_.find(path); it != ids_.end()) return it->second;
    // Kept here: a check lets go of each file's references once they are set down.
    const std::string_view kept = owned_.emplace_back(path);
    const auto id = static_cast<uint32_t>(paths_.size());
    ids_.emplace(kept, id);
    paths_.push_back(kept);
    return id;
}

LibraryCacheWriter::LibraryCacheWriter() : bytes_(kHeaderSize, '\0') {}

void LibraryCacheWriter::Reserve(size_t bytes) {
    bytes_.reserve(bytes_.size() + bytes);
    Prefault(bytes_.data() + bytes_.size(), bytes_.capacity() - bytes_.size());
}

void LibraryCacheWriter::AddHead(size_t slot, std::string_view relative, const FileStamp& stamp,
                                 size_t references) {
    PutVarint(bytes_, slot);
    size_t shared = 0;
    const size_t most = std::min(previous_.size(), relative.size());
    while (shared < most && previous_[shared] == relative[shared]) ++shared;
    PutVarint(bytes_, shared);
    PutString(bytes_, relative.substr(shared));
    previous_.assign(relative);
    PutVarint(bytes_, stamp.size);
    PutVarint(bytes_, ZigZag(stamp.mtimeNs));
    PutVarint(bytes_, ZigZag(static_cast<int64_t>(static_cast<uint64_t>(stamp.ctimeNs) -
                                                  static_cast<uint64_t>(stamp.mtimeNs))));
    PutVarint(bytes_, references);
    ++fileCount_;
}

void LibraryCacheWriter::AddCachedReferences(const CachedLibrary& from, const CachedFile& file) {
    from.ForEachReference(file, [&](const CachedLibrary::Reference& r) {
        PutVarint(bytes_, r.line);
        bytes_.push_back(static_cast<char>(r.keyword));
        PutVarint(bytes_, PathId(from.path(r.path)));
    });
}

void LibraryCacheWriter::AddFile(std::string_view relative, const FileStamp& stamp,
                                 const std::vector<ExtractedReference>& references) {
    AddHead(fileCount_, relative, stamp, references.size());
    for (const auto& r : references) {
        PutVarint(bytes_, r.line);
        bytes_.push_back(static_cast<char>(r.keyword));
        PutVarint(bytes_, PathId(r.path));
    }
}

void LibraryCacheWriter::AddFile(std::string_view relative, const FileStamp& stamp,
                                 const FileReferences& references) {
    AddHead(fileCount_, relative, stamp, references.size());
    for (size_t i = 0; i < references.size(); ++i) {
        PutVarint(bytes_, references.line(i));
        bytes_.push_back(static_cast<char>(references.keyword(i)));
        PutVarint(bytes_, PathId(references.path(i)));
    }
}

void LibraryCacheWriter::AddCachedFile(const CachedLibrary& from, const CachedFile& file) {
    AddHead(fileCount_, file.relative, file.stamp, file.referenceCount);
    AddCachedReferences(from, file);
}

void LibraryCacheWriter::SetFile(size_t slot, std::string_view relative, const FileStamp& stamp,
                                 const FileReferences& references,
                                 const std::vector<uint32_t>& pathIds) {
    AddHead(slot, relative, stamp, references.size());
    for (size_t i = 0; i < references.size(); ++i) {
        PutVarint(bytes_, references.line(i));
        bytes_.push_back(static_cast<char>(references.keyword(i)));
        PutVarint(bytes_, pathIds[i]);
    }
}

void LibraryCacheWriter::SetCachedFile(size_t slot, const CachedLibrary& from,
                                       const CachedFile& file) {
    AddHead(slot, file.relative, file.stamp, file.referenceCount);
    AddCachedReferences(from, file);
}

std::string LibraryCacheWriter::Finish() {
    for (const auto p : paths_) PutString(bytes_, p);
    SetU32(bytes_.data(), static_cast<uint32_t>(fileCount_));
    SetU32(bytes_.data() + 4, static_cast<uint32_t>(paths_.size()));
    return std::move(bytes_);
}

CheckCache::CheckCache(const std::string& databasePath) : path_(databasePath) {
    if (Open() && !Prepare()) Close();
}

CheckCache::~CheckCache() { Close(); }

std::string CheckCache::DefaultPath() {
    std::string base;
    if (const char* xdg = std::getenv("XDG_CACHE_HOME"); xdg && *xdg == '/') {
        base = xdg;
    } else if (const char* home = std::getenv("HOME"); home && *home) {
        base = std::string(home) + "/.cache";
    } else {
        base = "/tmp";
    }
    return base + "/Brindlewood/library-check.sqlite";
}

bool CheckCache::Open() {
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(path_).parent_path(), ec);
    if (sqlite3_open_v2(path_.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
        SQLITE_OK) {
        Close();
        return false;
    }
    sqlite3_busy_timeout(db_, kBusyTimeoutMs);
    // A small page cache is reused page after page; a large one is fresh memory for every page
    // of the one large record.
    Exec("PRAGMA cache_size=-256");
    // The write-ahead log is folded into the database by a later check once it has grown, not by
    // every check as it closes: that fold and its flushes would cost more than the check itself.
    sqlite3_db_config(db_, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
    return true;
}

void CheckCache::Close() {
    if (db_) sqlite3_close_v2(db_);
    db_ = nullptr;
}

bool CheckCache::Exec(const char* sql) {
    return sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

// Sets the database up for this version; a damaged file is replaced by an empty one.
bool CheckCache::Prepare() {
    for (int attempt = 0; attempt < 2; ++attempt) {
        // Large pages for a new database: the one large record goes to disk in a few dozen writes
        // instead of hundreds. A database that exists keeps its own.
        Exec("PRAGMA page_size=65536");
        bool ok = Exec("PRAGMA journal_mode=WAL") && Exec("PRAGMA synchronous=NORMAL") &&
                  Exec("PRAGMA wal_autocheckpoint=16384") &&
                  Exec("CREATE TABLE IF NOT EXISTS meta(key TEXT PRIMARY KEY, value TEXT)");
        std::string version;
        if (ok) {
            Statement s;
            ok = sqlite3_prepare_v2(db_, "SELECT value FROM meta WHERE key='version'", -1, &s.stmt,
                                    nullptr) == SQLITE_OK;
            if (ok) {
                const int rc = sqlite3_step(s.stmt);
                if (rc == SQLITE_ROW) {
                    const auto* text = sqlite3_column_text(s.stmt, 0);
                    version = text ? reinterpret_cast<const char*>(text) : "";
                } else {
                    ok = rc == SQLITE_DONE;
                }
            }
        }
        if (ok && version == kCacheVersion) return true;
        if (ok) {
            Statement s;
            // Earlier versions kept a row per library file in `files`.
            ok = Exec("BEGIN IMMEDIATE") && Exec("DROP TABLE IF EXISTS files") &&
                 Exec("DROP TABLE IF EXISTS libraries") &&
                 Exec("CREATE TABLE libraries(runtime TEXT PRIMARY KEY, data BLOB NOT NULL)") &&
                 sqlite3_prepare_v2(db_, "INSERT OR REPLACE INTO meta VALUES('version', ?1)", -1,
                                    &s.stmt, nullptr) == SQLITE_OK &&
                 sqlite3_bind_text(s.stmt, 1, kCacheVersion, -1, SQLITE_STATIC) == SQLITE_OK &&
                 sqlite3_step(s.stmt) == SQLITE_DONE && Exec("COMMIT");
            if (ok) return true;
            Exec("ROLLBACK");
        }
        if (!IsDamage(sqlite3_errcode(db_)) || attempt > 0) return false;
        StartAfresh();
        if (!db_) return false;
    }
    return false;
}

void CheckCache::StartAfresh() {
    Close();
    for (const char* suffix : {"", "-wal", "-shm", "-journal"}) ::unlink((path_ + suffix).c_str());
    Open();
}

CachedLibrary CheckCache::Load(const std::string& runtime) {
    if (!db_) return {};
    // The bytes are read straight into a buffer mapped in at once, not copied out of a buffer of
    // SQLite's own; one read transaction keeps the row from changing in between.
    std::string bytes;
    bool ok = Exec("BEGIN");
    if (ok) {
        Statement s;
        ok = sqlite3_prepare_v2(db_, "SELECT rowid, length(data) FROM libraries WHERE runtime = ?1",
                                -1, &s.stmt, nullptr) == SQLITE_OK &&
             sqlite3_bind_text(s.stmt, 1, runtime.data(), static_cast<int>(runtime.size()),
                               SQLITE_STATIC) == SQLITE_OK;
        const int rc = ok ? sqlite3_step(s.stmt) : SQLITE_ERROR;
        ok = rc == SQLITE_ROW || rc == SQLITE_DONE;
        if (rc == SQLITE_ROW) {
            const sqlite3_int64 row = sqlite3_column_int64(s.stmt, 0);
            const int size = sqlite3_column_int(s.stmt, 1);
            sqlite3_blob* blob = nullptr;
            ok = sqlite3_blob_open(db_, "main", "libraries", "data", row, 0, &blob) == SQLITE_OK;
            if (ok) {
                bytes.reserve(static_cast<size_t>(size));
                Prefault(bytes.data(), bytes.capacity());
                bytes.resize(static_cast<size_t>(size));
                ok = sqlite3_blob_read(blob, bytes.data(), size, 0) == SQLITE_OK;
            }
            sqlite3_blob_close(blob);
        }
    }
    if (ok && Exec("COMMIT")) return CachedLibrary::FromBytes(std::move(bytes));
    const int rc = sqlite3_errcode(db_);
    Exec("ROLLBACK");
    GiveUp(rc);
    return {};
}

bool CheckCache::Store(const std::string& runtime, const std::string& bytes) {
    if (!db_) return false;
    Statement insert;
    bool ok = sqlite3_prepare_v2(db_, "INSERT OR REPLACE INTO libraries VALUES(?1, ?2)", -1,
                                 &insert.stmt, nullptr) == SQLITE_OK &&
              sqlite3_bind_text(insert.stmt, 1, runtime.data(), static_cast<int>(runtime.size()),
                                SQLITE_STATIC) == SQLITE_OK &&
              sqlite3_bind_blob64(insert.stmt, 2, bytes.data(), bytes.size(), SQLITE_STATIC) ==
                  SQLITE_OK &&
              sqlite3_step(insert.stmt) == SQLITE_DONE;
    if (ok) return true;
    const int rc = sqlite3_errcode(db_);
    sqlite3_finalize(insert.stmt);
    insert.stmt = nullptr;
    GiveUp(rc);
    return false;
}

void CheckCache::GiveUp(int rc) {
    if (IsDamage(rc)) {
        StartAfresh();
        if (db_ && !Prepare()) Close();
    } else {
        Close();
    }
}

}  // namespace bw::check
