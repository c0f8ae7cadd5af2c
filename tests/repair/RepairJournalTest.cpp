#include <gtest/gtest.h>

#include <memory>

#include "repair/ApplyRepairBatch.h"
#include "repair/GzipBytes.h"
#include "repair/RepairJournal.h"
#include "repair/UndoLastBatch.h"
#include "support/FailingFileSystem.h"
#include "support/TestDir.h"
#include "support/Thrown.h"

namespace bw::repair {
namespace {

const std::string kOld = ":Runtime:Textures:Old:a.jpg";
const std::string kNew = ":Runtime:Textures:New:a.jpg";

std::string Text(const std::string& reference) {
    return "{\r\n\ttextureMap " + reference + "\r\n}\r\n";
}

// Three library files, the last compressed, each with one stale reference on line 2.
class BatchFixture : public ::testing::Test {
  protected:
    BatchFixture() {
        for (const char* name : {"a.pz2", "b.cr2", "c.pzz"}) {
            const std::string bytes =
                std::string(name).back() == 'z' ? Gzip(Text(kOld)) : Text(kOld);
            files.push_back(dir.createFile(std::string("Runtime/Libraries/") + name, bytes));
            oldBytes.push_back(bytes);
            changes.push_back({files.back(), 2, kOld, kNew});
        }
        journalRoot = dir.host("journal");
    }

    std::unique_ptr<test::FailingFileSystem> Fs() {
        return std::make_unique<test::FailingFileSystem>(DriveMap::FromDrives({}));
    }
    std::string Current(size_t i) const {
        return dir.readBytes(files[i].substr(dir.path().size() + 1));
    }
    bool IsOld(size_t i) const { return Current(i) == oldBytes[i]; }
    bool IsNew(size_t i) const {
        const std::string bytes = Current(i);
        return (i == 2 ? Gunzip(bytes, 1 << 20) : bytes) == Text("\"" + kNew + "\"");
    }
    BatchResult Apply(FileSystem& fs, const std::vector<ReferenceChange>& list, bool backUp = true,
                      std::function<bool(size_t, size_t)> progress = {}) {
        return ApplyRepairBatch(fs, PlanRepairBatch(fs, list), {journalRoot, backUp, progress});
    }
    void ExpectAllOld() {
        for (size_t i = 0; i < files.size(); ++i) EXPECT_TRUE(IsOld(i)) << files[i];
    }

    test::TestDir dir;
    std::vector<std::string> files, oldBytes;
    std::vector<ReferenceChange> changes;
    std::string journalRoot;
};

TEST_F(BatchFixture, BatchThenUndoRoundTrips) {
    auto fs = Fs();
    const auto r = Apply(*fs, changes);
    EXPECT_EQ(r.repaired.size(), 3u);
    EXPECT_EQ(r.lines, 3u);
    for (size_t i = 0; i < 3; ++i) EXPECT_TRUE(IsNew(i)) << i;
    EXPECT_EQ(dir.readBytes("Runtime/Libraries/a.bak"), oldBytes[0]);
    const auto u = UndoLastBatch(*fs, journalRoot);
    EXPECT_EQ(u.restored, files);
    EXPECT_TRUE(u.finished);
    ExpectAllOld();
    EXPECT_TRUE(UndoLastBatch(*fs, journalRoot).journal.empty());
}

TEST_F(BatchFixture, JournalIsKeptWhetherOrNotABackupIs) {
    auto fs = Fs();
    const auto r = Apply(*fs, changes, /*backUp=*/false);
    EXPECT_FALSE(dir.exists("Runtime/Libraries/a.bak"));
    const auto m = ReadManifest(*fs, r.journal);
    ASSERT_EQ(m.entries.size(), 3u);
    EXPECT_EQ(m.entries[2].oldHash, HashOf(oldBytes[2]));
    EXPECT_EQ(m.entries[2].newHash, HashOf(Current(2)));
}

// A failure at any step of a batch, or of its undo, leaves every file wholly old or wholly new;
// an undo that then runs without failure puts every file back. A batch writes its manifest, then
// per file the copy, the manifest and the new file: WriteFile1 to WriteFile10.
class FailingStep : public BatchFixture, public ::testing::WithParamInterface<const char*> {};

TEST_P(FailingStep, InABatchLeavesFilesWholeAndUndoable) {
    auto fs = Fs();
    fs->failOn[GetParam()] = err::kDiskFull;
    test::ThrownNumber([&] { Apply(*fs, changes); });
    for (size_t i = 0; i < 3; ++i) EXPECT_TRUE(IsOld(i) || IsNew(i)) << i;
    const auto u = UndoLastBatch(*Fs(), journalRoot);
    EXPECT_TRUE(u.skipped.empty());
    ExpectAllOld();
}

TEST_P(FailingStep, InAnUndoLeavesFilesWholeAndUndoIsRetried) {
    Apply(*Fs(), changes);
    auto fs = Fs();
    fs->failOn[GetParam()] = err::kDiskFull;
    test::ThrownNumber([&] { UndoLastBatch(*fs, journalRoot); });
    for (size_t i = 0; i < 3; ++i) EXPECT_TRUE(IsOld(i) || IsNew(i)) << i;
    UndoLastBatch(*Fs(), journalRoot);
    ExpectAllOld();
}

INSTANTIATE_TEST_SUITE_P(Steps, FailingStep,
                         ::testing::Values("Staged:Create", "Staged:Write", "Staged:Flush",
                                           "Staged:Commit", "WriteFile", "AfterWriteFile",
                                           "LinkOrCopyFile", "Replace1", "Replace2", "Replace3",
                                           "Replace4", "Replace5", "Replace6", "WriteFile1",
                                           "WriteFile2", "WriteFile3", "WriteFile4", "WriteFile5",
                                           "WriteFile6", "WriteFile7", "WriteFile8", "WriteFile9",
                                           "WriteFile10"));

// A batch stopped between files, as a crash would stop it: Undo restores what it changed.
TEST_F(BatchFixture, StoppedAfterSomeFilesUndoesThoseOnly) {
    for (size_t k = 0; k <= 2; ++k) {
        auto fs = Fs();
        // Steps count each file journalled, then each file replaced.
        const auto r = Apply(*fs, changes, true,
                             [k](size_t done, size_t total) { return done < total / 2 + k; });
        EXPECT_TRUE(r.stopped);
        for (size_t i = 0; i < 3; ++i) EXPECT_EQ(IsNew(i), i < k) << k << " " << i;
        const auto u = UndoLastBatch(*fs, journalRoot);
        EXPECT_EQ(u.restored.size(), k);
        ExpectAllOld();
    }
}

TEST_F(BatchFixture, FileEditedAfterTheBatchIsLeftAndReported) {
    auto fs = Fs();
    Apply(*fs, changes);
    dir.createFile("Runtime/Libraries/b.cr2", "edited by hand");
    const auto u = UndoLastBatch(*fs, journalRoot);
    ASSERT_EQ(u.skipped.size(), 1u);
    EXPECT_EQ(u.skipped[0].file, files[1]);
    EXPECT_EQ(u.skipped[0].reason, "changed since the repair");
    EXPECT_EQ(Current(1), "edited by hand");
    EXPECT_TRUE(IsOld(0) && IsOld(2));
    EXPECT_TRUE(u.finished);
}

TEST_F(BatchFixture, FileChangedSinceThePreviewIsNotWritten) {
    auto fs = Fs();
    const auto plan = PlanRepairBatch(*fs, changes);
    dir.createFile("Runtime/Libraries/a.pz2", Text(kOld) + "more");
    const auto r = ApplyRepairBatch(*fs, plan, {journalRoot, true, {}});
    ASSERT_EQ(r.failed.size(), 1u);
    EXPECT_EQ(r.failed[0].file, files[0]);
    EXPECT_EQ(Current(0), Text(kOld) + "more");
}

TEST_F(BatchFixture, TwoBatchesAreUndoneNewestFirst) {
    auto fs = Fs();
    const std::string mid = Text("\"" + kNew + "\"");
    const std::string last = Text("\":Runtime:Textures:Last:a.jpg\"");
    Apply(*fs, {changes[0]});
    Apply(*fs, {{files[0], 2, kNew, ":Runtime:Textures:Last:a.jpg"}});
    EXPECT_EQ(Current(0), last);
    UndoLastBatch(*fs, journalRoot);
    EXPECT_EQ(Current(0), mid);
    UndoLastBatch(*fs, journalRoot);
    EXPECT_EQ(Current(0), oldBytes[0]);
    EXPECT_TRUE(UndoLastBatch(*fs, journalRoot).journal.empty());
    EXPECT_EQ(JournalFolders(journalRoot).size(), 2u);
}

}  // namespace
}  // namespace bw::repair
