#include "check/CheckCache.h"

#include <sqlite3.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

namespace bw::check {

namespace {

#define BW_STR2(x) #x
#define BW_STR(x) BW_STR2(x)
// Another program version may read files differently: its cache is not ours.
constexpr const char* kCacheVersion =
    "references-1 program-" BW_STR(BRINDLEWOOD_VERSION_MAJOR) "." BW_STR(
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

}  // namespace

std::string EncodeReferences(const std::vector<ExtractedReference>& references) {
    std::string out;
    PutVarint(out, references.size());
    for (const auto& r : references) {
        PutVarint(out, r.line);
        out.push_back(static_cast<char>(r.keyword));
        PutVarint(out, r.path.size());
        out += r.path;
    }
    return out;
}

std::optional<std::vector<ExtractedReference>> DecodeReferences(std::string_view blob) {
    uint64_t count = 0;
    if (!GetVarint(blob, count) || count > blob.size()) return std::nullopt;
    std::vector<ExtractedReference> refs;
    refs.reserve(count);
    for (uint64_t i = 0; i < count; ++i) {
        uint64_t line = 0, length = 0;
        if (!GetVarint(blob, line) || line == 0 || line > UINT32_MAX || blob.empty())
            return std::nullopt;
        const auto keyword = static_cast<unsigned char>(blob.front());
        blob.remove_prefix(1);
        if (keyword >= kKeywordCount || !GetVarint(blob, length) || length > blob.size())
            return std::nullopt;
        refs.push_back({static_cast<uint32_t>(line), static_cast<Keyword>(keyword),
                        std::string(blob.substr(0, length))});
        blob.remove_prefix(length);
    }
    if (!blob.empty()) return std::nullopt;
    return refs;
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
            ok = Exec("BEGIN IMMEDIATE") && Exec("DROP TABLE IF EXISTS files") &&
                 Exec(
                     "CREATE TABLE files(path TEXT PRIMARY KEY, size INTEGER NOT NULL, "
                     "mtime INTEGER NOT NULL, ctime INTEGER NOT NULL, refs BLOB NOT NULL) "
                     "WITHOUT ROWID") &&
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

std::unordered_map<std::string, CachedFile> CheckCache::Load(const std::string& folder) {
    std::unordered_map<std::string, CachedFile> files;
    if (!db_) return files;
    Statement s;
    // Paths under the folder sort between "folder/" and "folder0" ('0' follows '/').
    const std::string from = folder + "/", to = folder + "0";
    int rc = sqlite3_prepare_v2(db_,
                                "SELECT path, size, mtime, ctime, refs FROM files "
                                "WHERE path >= ?1 AND path < ?2",
                                -1, &s.stmt, nullptr);
    if (rc == SQLITE_OK) {
        sqlite3_bind_text(s.stmt, 1, from.data(), static_cast<int>(from.size()), SQLITE_STATIC);
        sqlite3_bind_text(s.stmt, 2, to.data(), static_cast<int>(to.size()), SQLITE_STATIC);
        while ((rc = sqlite3_step(s.stmt)) == SQLITE_ROW) {
            const auto* path = static_cast<const char*>(sqlite3_column_blob(s.stmt, 0));
            const int pathLen = sqlite3_column_bytes(s.stmt, 0);
            CachedFile f;
            f.size = static_cast<uint64_t>(sqlite3_column_int64(s.stmt, 1));
            f.mtimeNs = sqlite3_column_int64(s.stmt, 2);
            f.ctimeNs = sqlite3_column_int64(s.stmt, 3);
            const auto* blob = static_cast<const char*>(sqlite3_column_blob(s.stmt, 4));
            f.blob.assign(blob ? blob : "", static_cast<size_t>(sqlite3_column_bytes(s.stmt, 4)));
            files.emplace(std::string(path ? path : "", static_cast<size_t>(pathLen)),
                          std::move(f));
        }
    }
    if (rc == SQLITE_DONE) return files;
    // A damaged database is rebuilt from the files; a locked one is left alone this time.
    files.clear();
    sqlite3_finalize(s.stmt);
    s.stmt = nullptr;
    if (IsDamage(rc) || IsDamage(sqlite3_errcode(db_))) {
        StartAfresh();
        if (db_ && !Prepare()) Close();
    } else {
        Close();
    }
    return files;
}

bool CheckCache::Store(const std::vector<CacheEntry>& fresh, const std::vector<std::string>& gone) {
    if (!db_) return false;
    if (fresh.empty() && gone.empty()) return true;
    bool ok = Exec("BEGIN IMMEDIATE");
    if (ok) {
        Statement insert, remove;
        ok = sqlite3_prepare_v2(db_, "INSERT OR REPLACE INTO files VALUES(?1, ?2, ?3, ?4, ?5)", -1,
                                &insert.stmt, nullptr) == SQLITE_OK &&
             sqlite3_prepare_v2(db_, "DELETE FROM files WHERE path = ?1", -1, &remove.stmt,
                                nullptr) == SQLITE_OK;
        for (size_t i = 0; ok && i < fresh.size(); ++i) {
            const auto& e = fresh[i];
            const std::string blob = EncodeReferences(*e.references);
            sqlite3_bind_text(insert.stmt, 1, e.path.data(), static_cast<int>(e.path.size()),
                              SQLITE_STATIC);
            sqlite3_bind_int64(insert.stmt, 2, static_cast<sqlite3_int64>(e.size));
            sqlite3_bind_int64(insert.stmt, 3, e.mtimeNs);
            sqlite3_bind_int64(insert.stmt, 4, e.ctimeNs);
            sqlite3_bind_blob(insert.stmt, 5, blob.data(), static_cast<int>(blob.size()),
                              SQLITE_STATIC);
            ok =
                sqlite3_step(insert.stmt) == SQLITE_DONE && sqlite3_reset(insert.stmt) == SQLITE_OK;
        }
        for (size_t i = 0; ok && i < gone.size(); ++i) {
            sqlite3_bind_text(remove.stmt, 1, gone[i].data(), static_cast<int>(gone[i].size()),
                              SQLITE_STATIC);
            ok =
                sqlite3_step(remove.stmt) == SQLITE_DONE && sqlite3_reset(remove.stmt) == SQLITE_OK;
        }
        ok = ok && Exec("COMMIT");
    }
    if (ok) return true;
    const bool damaged = IsDamage(sqlite3_errcode(db_));
    Exec("ROLLBACK");
    if (damaged) {
        StartAfresh();
        if (db_ && !Prepare()) Close();
    } else {
        Close();
    }
    return false;
}

}  // namespace bw::check
