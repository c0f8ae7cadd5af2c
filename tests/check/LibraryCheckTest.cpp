#include <fcntl.h>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <memory>

#include "check/CheckCache.h"
#include "check/CheckTestSupport.h"
#include "platform/PlatformError.h"
#include "support/ParamNames.h"
#include "support/TestDir.h"

namespace bw::check {
namespace {

using Rows = std::vector<std::string>;

// A small Runtime folder with one file of each kind the check meets.
class LibraryCheckTest : public ::testing::Test {
  protected:
    LibraryCheckTest() {
        for (const char* f :
             {"Textures/Skin/skin.jpg", "Textures/New/eyes.jpg", "Textures/A/chrome.jpg",
              "Textures/B/chrome.jpg", "Geometries/G/fig.obj", "Libraries/Props/readme.txt"})
            dir.createFile("Runtime/" + std::string(f));
        dir.createFile("Runtime/Libraries/character/A/Fig.cr2",
                       "{\r\nfigureResFile :Runtime:Geometries:G:fig.obj\r\n"
                       "\ttextureMap :Runtime:Textures:Old:eyes.jpg\r\n\tbumpMap NO_MAP\r\n}\r\n");
        dir.createFile("Runtime/Libraries/Pose/P/Pose.pzz",
                       fixture::Gzip("{\r\ttextureMap \":Runtime:Textures:Skin:SKIN.jpg\"\r"
                                     "readScript :Runtime:Libraries:character:a:fig.cr2\r"
                                     "\treflectionMap :Runtime:Textures:Old:chrome.jpg\r"
                                     "\tfigureResFile GetStringRes(1024,1)\r"));
        dir.createFile(
            "Runtime/Libraries/Props/Cut.ppz",
            fixture::Gzip(std::string(20000, 'k') + "\ntextureMap x.jpg\n").substr(0, 40));
        dir.createFile("Runtime/Libraries/Props/Plain.ppz", "textureMap :Runtime:Textures:x.jpg\n");
        dir.createFile("Runtime/Libraries/Hair/Big.hr2",
                       "textureMap :Runtime:Textures:gone.jpg\n" + std::string(5000, ' '));
        options.runtime = dir.host("Runtime");
        options.sizeCap = 4096;
    }

    std::string CachePath() const { return cacheDir.host("cache/check.sqlite"); }

    test::TestDir dir, cacheDir;
    CheckOptions options;
};

const Rows kExpected = {
    "Libraries/Hair/Big.hr2:0 -  unreadable (larger than 4096 bytes)",
    "Libraries/Pose/P/Pose.pzz:2 textureMap :Runtime:Textures:Skin:SKIN.jpg ok",
    "Libraries/Pose/P/Pose.pzz:3 readScript :Runtime:Libraries:character:a:fig.cr2 ok",
    "Libraries/Pose/P/Pose.pzz:4 reflectionMap :Runtime:Textures:Old:chrome.jpg ambiguous "
    "Textures/A/chrome.jpg Textures/B/chrome.jpg",
    "Libraries/Pose/P/Pose.pzz:5 figureResFile GetStringRes(1024,1) internal",
    "Libraries/Props/Cut.ppz:0 -  unreadable (compressed data cut short)",
    "Libraries/Props/Plain.ppz:0 -  unreadable (not gzip-compressed data)",
    "Libraries/character/A/Fig.cr2:2 figureResFile :Runtime:Geometries:G:fig.obj ok",
    "Libraries/character/A/Fig.cr2:3 textureMap :Runtime:Textures:Old:eyes.jpg moved "
    "Textures/New/eyes.jpg",
};

TEST_F(LibraryCheckTest, EveryReferenceAndEveryUnreadableFileIsARow) {
    const auto r = fixture::RunCheck(options);
    EXPECT_EQ(r.rows, kExpected);
    EXPECT_EQ(r.summary.files, 5u);
    EXPECT_EQ(r.summary.references, 6u);
    EXPECT_EQ(r.summary.count(RefStatus::Unreadable), 3u);
    EXPECT_TRUE(r.summary.HasProblems());
    EXPECT_FALSE(r.summary.cacheUsed);
}

TEST_F(LibraryCheckTest, ProgressEndsWithEveryFileDone) {
    fixture::RowCollector collector;
    const std::atomic<bool> cancel{false};
    RunLibraryCheck(options, collector, cancel);
    ASSERT_GE(collector.progress.size(), 2u);
    EXPECT_EQ(collector.progress.front().phase, CheckPhase::Walking);
    EXPECT_EQ(collector.progress.back().phase, CheckPhase::Done);
    EXPECT_EQ(collector.progress.back().filesDone, 5u);
    EXPECT_EQ(collector.progress.back().filesTotal, 5u);
}

TEST_F(LibraryCheckTest, CancelledBeforeTheFirstFileStopsWithNoRows) {
    struct CancelAtOnce : fixture::RowCollector {
        std::atomic<bool>* cancel = nullptr;
        void OnProgress(const CheckProgress&) override { cancel->store(true); }
    } observer;
    std::atomic<bool> cancel{false};
    observer.cancel = &cancel;
    options.cachePath = CachePath();
    const auto s = RunLibraryCheck(options, observer, cancel);
    EXPECT_TRUE(s.cancelled);
    EXPECT_TRUE(observer.rows_.empty());
    // Nothing half-done was kept.
    EXPECT_EQ(fixture::RunCheck(options).rows, kExpected);
}

TEST_F(LibraryCheckTest, SecondCheckReadsOnlyWhatChanged) {
    options.cachePath = CachePath();
    const auto first = fixture::RunCheck(options);
    EXPECT_TRUE(first.summary.cacheUsed);
    EXPECT_EQ(first.summary.filesRead, 5u);

    const auto again = fixture::RunCheck(options);
    EXPECT_EQ(again.rows, kExpected);
    // Unreadable files are never cached: they are tried again every time.
    EXPECT_EQ(again.summary.filesRead, 3u);

    // Same size, another modification time: read again, with its new content.
    const std::string fig = dir.host("Runtime/Libraries/character/A/Fig.cr2");
    std::string bytes = dir.readBytes("Runtime/Libraries/character/A/Fig.cr2");
    bytes.replace(bytes.find("Old:eyes"), 8, "New:eyes");
    dir.createFile("Runtime/Libraries/character/A/Fig.cr2", bytes);
    const timespec times[2] = {{0, UTIME_OMIT}, {1000000000, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, fig.c_str(), times, 0), 0);
    std::filesystem::remove(dir.host("Runtime/Libraries/Pose/P/Pose.pzz"));

    const auto changed = fixture::RunCheck(options);
    EXPECT_EQ(changed.summary.filesRead, 4u);
    EXPECT_EQ(changed.rows.back(),
              "Libraries/character/A/Fig.cr2:3 textureMap :Runtime:Textures:New:eyes.jpg ok");
    EXPECT_EQ(changed.rows.size(), 5u);
    EXPECT_EQ(fixture::RunCheck(options).rows, changed.rows);
}

TEST_F(LibraryCheckTest, FilesFoundUnchangedStayCachedWhenAnotherChanges) {
    options.cachePath = CachePath();
    fixture::RunCheck(options);
    const std::string fig = dir.host("Runtime/Libraries/character/A/Fig.cr2");
    const timespec times[2] = {{0, UTIME_OMIT}, {1000000000, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, fig.c_str(), times, 0), 0);
    // The figure and the three unreadable files are read; the pose comes from the cache...
    EXPECT_EQ(fixture::RunCheck(options).summary.filesRead, 4u);
    // ...and is still there for the next check.
    const auto third = fixture::RunCheck(options);
    EXPECT_EQ(third.summary.filesRead, 3u);
    EXPECT_EQ(third.rows, kExpected);
}

// Whatever state the database is in, the answer is the one a check without cache gives.
TEST_F(LibraryCheckTest, DamagedLockedOrForeignDatabaseNeverChangesTheAnswer) {
    options.cachePath = CachePath();
    fixture::RunCheck(options);

    // Damaged: replaced by another file, then rebuilt so the next check uses it again.
    for (const char* suffix : {"-wal", "-shm"}) std::filesystem::remove(CachePath() + suffix);
    cacheDir.createFile("cache/check.sqlite", std::string(8192, 'x'));
    auto r = fixture::RunCheck(options);
    EXPECT_EQ(r.rows, kExpected);
    EXPECT_EQ(r.summary.filesRead, 5u);
    EXPECT_EQ(fixture::RunCheck(options).summary.filesRead, 3u);

    // Written by another version: dropped and rebuilt.
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(CachePath().c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, "UPDATE meta SET value='references-0' WHERE key='version'", nullptr,
                           nullptr, nullptr),
              SQLITE_OK);
    r = fixture::RunCheck(options);
    EXPECT_EQ(r.rows, kExpected);
    EXPECT_EQ(r.summary.filesRead, 5u);

    // Locked by another process for good: the check does without it.
    ASSERT_EQ(
        sqlite3_exec(db, "PRAGMA locking_mode=EXCLUSIVE; BEGIN EXCLUSIVE; DELETE FROM libraries;",
                     nullptr, nullptr, nullptr),
        SQLITE_OK);
    r = fixture::RunCheck(options);
    EXPECT_EQ(r.rows, kExpected);
    EXPECT_EQ(r.summary.filesRead, 5u);
    sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

// A database as the version that kept a row per library file left it: rebuilt, same answers.
TEST_F(LibraryCheckTest, DatabaseOfTheEarlierLayoutIsRebuilt) {
    options.cachePath = CachePath();
    std::filesystem::create_directories(cacheDir.host("cache"));
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(CachePath().c_str(), &db), SQLITE_OK);
    const std::string fig = dir.host("Runtime/Libraries/character/A/Fig.cr2");
    ASSERT_EQ(sqlite3_exec(db,
                           ("PRAGMA journal_mode=WAL;"
                            "CREATE TABLE meta(key TEXT PRIMARY KEY, value TEXT);"
                            "INSERT INTO meta VALUES('version', 'references-1 program-1.0.0');"
                            "CREATE TABLE files(path TEXT PRIMARY KEY, size INTEGER NOT NULL, "
                            "mtime INTEGER NOT NULL, ctime INTEGER NOT NULL, refs BLOB NOT NULL) "
                            "WITHOUT ROWID;"
                            "INSERT INTO files VALUES('" +
                            fig + "', 1, 2, 3, x'00');")
                               .c_str(),
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(db);

    auto r = fixture::RunCheck(options);
    EXPECT_EQ(r.rows, kExpected);
    EXPECT_EQ(r.summary.filesRead, 5u);
    r = fixture::RunCheck(options);
    EXPECT_EQ(r.rows, kExpected);
    EXPECT_EQ(r.summary.filesRead, 3u);
}

const std::vector<ExtractedReference> kFigRefs = {{1, Keyword::TextureMap, "a.jpg"},
                                                  {300000, Keyword::HairCacheFile, ""},
                                                  {7, Keyword::File, std::string(200, 'p')}};
const std::vector<ExtractedReference> kPoseRefs = {{2, Keyword::ReadScript, "a.jpg"}};

// The bytes of a cache holding two files that share a reference path.
std::string TwoFileCache() {
    LibraryCacheWriter writer;
    writer.AddFile("Libraries/a/Fig.cr2", {10, -5, 1700000000123456789}, kFigRefs);
    writer.AddFile("Libraries/b/Pose.pz2", {0, 0, 0}, kPoseRefs);
    return writer.Finish();
}

std::vector<ExtractedReference> ReferencesOf(const CachedLibrary& lib, const CachedFile& f) {
    std::vector<ExtractedReference> refs;
    lib.ForEachReference(f, [&](const CachedLibrary::Reference& r) {
        refs.push_back({r.line, r.keyword, std::string(lib.path(r.path))});
    });
    return refs;
}

TEST(CachedLibrary, RoundTripsSharingEachPathAndCopiesToANewCache) {
    const auto lib = CachedLibrary::FromBytes(TwoFileCache());
    ASSERT_EQ(lib.files().size(), 2u);
    EXPECT_EQ(lib.referenceCount(), 3u);
    const CachedFile* fig = lib.Find("Libraries/a/Fig.cr2");
    ASSERT_TRUE(fig);
    EXPECT_EQ(fig->stamp, (FileStamp{10, -5, 1700000000123456789}));
    EXPECT_EQ(ReferencesOf(lib, *fig), kFigRefs);
    EXPECT_FALSE(lib.Find("libraries/a/fig.cr2"));

    LibraryCacheWriter writer;
    writer.AddCachedFile(lib, lib.files()[1]);
    const auto copy = CachedLibrary::FromBytes(writer.Finish());
    ASSERT_EQ(copy.files().size(), 1u);
    EXPECT_EQ(copy.files()[0].relative, "Libraries/b/Pose.pz2");
    EXPECT_EQ(ReferencesOf(copy, copy.files()[0]), kPoseRefs);
    EXPECT_EQ(copy.referenceCount(), 1u);
}

TEST(CachedLibrary, FilesSetInAnyOrderAreReadBackInOrderOfTheirPlaces) {
    LibraryCacheWriter writer;
    const auto set = [&](size_t slot, std::string_view relative, const FileStamp& stamp,
                         const std::vector<ExtractedReference>& refs) {
        auto packed = std::make_unique<FileReferences>();
        std::vector<uint32_t> ids;
        for (const auto& r : refs) {
            packed->Add(r.line, r.keyword, r.path);
            ids.push_back(writer.PathId(r.path));
        }
        writer.SetFile(slot, relative, stamp, *packed, ids);
        // The references go before Finish, as a check lets them go.
        packed.reset();
    };
    set(1, "Libraries/b/Pose.pz2", {0, 0, 0}, kPoseRefs);
    set(0, "Libraries/a/Fig.cr2", {10, -5, 1700000000123456789}, kFigRefs);
    const auto lib = CachedLibrary::FromBytes(writer.Finish());
    ASSERT_EQ(lib.files().size(), 2u);
    EXPECT_EQ(lib.files()[0].relative, "Libraries/a/Fig.cr2");
    EXPECT_EQ(lib.files()[0].stamp, (FileStamp{10, -5, 1700000000123456789}));
    EXPECT_EQ(ReferencesOf(lib, lib.files()[0]), kFigRefs);
    EXPECT_EQ(lib.files()[1].relative, "Libraries/b/Pose.pz2");
    EXPECT_EQ(ReferencesOf(lib, lib.files()[1]), kPoseRefs);
}

struct DamageCase {
    const char* what;
    std::string (*damage)(std::string);
};

class CachedLibraryDamage : public ::testing::TestWithParam<DamageCase> {};

TEST_P(CachedLibraryDamage, IsTakenForAnEmptyCache) {
    EXPECT_TRUE(CachedLibrary::FromBytes(GetParam().damage(TwoFileCache())).empty());
}

// Where Pose.pz2's reference lies: after the end of its name that Fig.cr2's does not share, its
// stamp's three one-byte numbers and its count of references come the line (one byte), the
// keyword and the path's number.
size_t PoseReference(const std::string& bytes) { return bytes.find("b/Pose.pz2") + 10 + 3 + 1; }

INSTANTIATE_TEST_SUITE_P(
    Bytes, CachedLibraryDamage,
    ::testing::Values(DamageCase{"CutShort",
                                 [](std::string b) { return b.substr(0, b.size() - 1); }},
                      DamageCase{"TrailingByte", [](std::string b) { return b + "x"; }},
                      DamageCase{"UnknownKeyword",
                                 [](std::string b) {
                                     b[PoseReference(b) + 1] = 0x7f;
                                     return b;
                                 }},
                      DamageCase{"PathNumberOutOfRange",
                                 [](std::string b) {
                                     b[PoseReference(b) + 2] = 3;
                                     return b;
                                 }},
                      DamageCase{"FilesOutOfOrder",
                                 [](std::string b) {
                                     // "Libraries/A/" sorts before "Libraries/a/"
                                     b[b.find("b/Pose.pz2")] = 'A';
                                     return b;
                                 }},
                      DamageCase{"PlaceTakenTwice",
                                 [](std::string b) {
                                     // Pose.pz2's record, after Fig.cr2's, says it is the first.
                                     b[b.find("b/Pose.pz2") - 3] = 0;
                                     return b;
                                 }},
                      DamageCase{"Empty", [](std::string) { return std::string(); }}),
    test::ByWhat);

TEST(LibraryCheck, UnlistableFolderIsARowAndTheRestIsChecked) {
    if (::geteuid() == 0) GTEST_SKIP() << "permissions do not hold for root";
    test::TestDir dir;
    dir.createFile("Runtime/Libraries/Open/a.pz2", "textureMap :Runtime:Textures:a.jpg\n");
    dir.createFile("Runtime/Libraries/Shut/b.pz2", "textureMap :Runtime:Textures:b.jpg\n");
    dir.createFile("Runtime/Libraries/Open/c.pz2", "textureMap :Runtime:Textures:c.jpg\n");
    ::chmod(dir.host("Runtime/Libraries/Shut").c_str(), 0);
    ::chmod(dir.host("Runtime/Libraries/Open/c.pz2").c_str(), 0);
    CheckOptions options;
    options.runtime = dir.host("Runtime");
    EXPECT_EQ(fixture::RunCheck(options).rows,
              (Rows{"Libraries/Open/a.pz2:1 textureMap :Runtime:Textures:a.jpg missing",
                    "Libraries/Open/c.pz2:0 -  unreadable (Permission denied)",
                    "Libraries/Shut:0 -  unreadable (Permission denied)"}));
}

TEST(LibraryCheck, MissingRuntimeFolderThrows) {
    CheckOptions options;
    options.runtime = "/nonexistent-bw/Runtime";
    EXPECT_THROW(fixture::RunCheck(options), PlatformError);
}

TEST(LibraryCheck, SampleLibraryShowsItsStaleAndMissingFiles) {
    CheckOptions options;
    options.runtime = BRINDLEWOOD_EXAMPLES_DIR "/Poser4/Runtime";
    const auto r = fixture::RunCheck(options);
    Rows problems;
    for (const auto& row : r.rows)
        if (row.find(" ok") == std::string::npos) problems.push_back(row);
    EXPECT_EQ(problems,
              (Rows{"Libraries/Props/Sample/Crate.pp2:10 objFileGeom "
                    ":Runtime:Geometries:Props:Crate.obj moved Geometries/Other/Crate.obj",
                    "Libraries/character/Sample/Figure.cr2:528 textureMap "
                    ":Runtime:Textures:Sample:skin.jpg moved Textures/Other/skin.jpg",
                    "Libraries/character/Sample/Robot.cr2:329 bumpMap "
                    ":Runtime:Textures:Robot:rivets.tif missing"}));
    EXPECT_EQ(r.summary.files, 11u);
    EXPECT_EQ(r.summary.count(RefStatus::Ok), r.summary.references - 3);
}

}  // namespace
}  // namespace bw::check
