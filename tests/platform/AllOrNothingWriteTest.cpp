#include <gtest/gtest.h>

#include <tuple>

#include "support/FailingFileSystem.h"
#include "support/ParamNames.h"
#include "support/Thrown.h"
#include "support/TreeLayout.h"

namespace bw::test {
namespace {

// Runs a write or copy given as words over C: paths, "WriteFile T\x", "CopyFile A\x T\x" or
// "CopyFolder A T\A"; copies overwrite.
void RunOp(FileSystem& fs, const std::string& op) {
    const auto w = Split(op, ' ');
    auto at = [](const std::string& rel) { return "C:\\" + rel; };
    if (w[0] == "WriteFile")
        fs.WriteFile(at(w[1]), "new", true);
    else if (w[0] == "CopyFile")
        fs.CopyFile(at(w[1]), at(w[2]), Overwrite::Yes);
    else
        fs.CopyFolder(at(w[1]), at(w[2]), Overwrite::Yes);
}

class WriteFixture {
  protected:
    WriteFixture() : fs(DriveMap::FromDrives({{"C:", c.path()}})) {}
    // Checks "path=bytes" (a regular file), "path@target" (a link) and "path!" (absent).
    void ExpectEntries(const std::string& layout) {
        const auto now = Snapshot(c.path());
        for (const auto& item : Split(layout, ';')) {
            const size_t at = item.find_first_of("=@!");
            const std::string rel = item.substr(0, at), arg = item.substr(at + 1);
            const auto it = now.find(rel);
            if (item[at] == '!') {
                EXPECT_TRUE(it == now.end()) << item;
            } else if (it == now.end()) {
                ADD_FAILURE() << item << " is missing";
            } else {
                EXPECT_EQ(it->second, item[at] == '=' ? "=" + arg : "@" + c.host(arg)) << item;
            }
        }
    }
    // A temporary entry of a write left behind.
    bool LeftOver() const {
        for (const auto& [rel, kind] : Snapshot(c.path()))
            if (std::filesystem::path(rel).filename().string().front() == '.') return true;
        return false;
    }

    TestDir c;
    FailingFileSystem fs;
};

// A write or copy failed at each of its steps leaves everything as it was; not failed, it leaves
// `after` and no temporary entry.
struct WriteOp {
    const char *what, *setup, *op, *after;
};

const WriteOp kWriteOps[] = {
    {"WriteOver", "T/dog.cr2=old", "WriteFile T\\dog.cr2", "T/dog.cr2=new"},
    {"WriteNew", "T/", "WriteFile T\\dog.cr2", "T/dog.cr2=new"},
    {"CopyOver", "A/dog.cr2=new;T/dog.cr2=old", "CopyFile A\\dog.cr2 T\\dog.cr2", "T/dog.cr2=new"},
    {"CopyNew", "A/dog.cr2=new;T/", "CopyFile A\\dog.cr2 T\\dog.cr2", "T/dog.cr2=new"},
    {"FolderMerge", "A/dog.cr2=new;A/Sub/x.obj=new;T/A/dog.cr2=old;T/A/keep=old",
     "CopyFolder A T\\A", "T/A/dog.cr2=new;T/A/Sub/x.obj=new;T/A/keep=old"},
    {"FolderNew", "A/dog.cr2=new;A/Sub/x.obj=new;T/", "CopyFolder A T\\A",
     "T/A/dog.cr2=new;T/A/Sub/x.obj=new"},
};

class FailedWrites : public WriteFixture,
                     public ::testing::TestWithParam<std::tuple<WriteOp, const char*>> {};

TEST_P(FailedWrites, LeaveTheTargetAsItWas) {
    const auto& [op, step] = GetParam();
    MakeEntries(c, op.setup);
    const auto before = Snapshot(c.path());
    const bool fails = std::string(step) != "None";
    if (fails) fs.failOn[std::string("Staged:") + step] = err::kDiskFull;

    EXPECT_EQ(ThrownNumber([&] { RunOp(fs, op.op); }), fails ? err::kDiskFull : 0);
    if (fails) {
        EXPECT_EQ(Snapshot(c.path()), before);
    } else {
        ExpectEntries(op.after);
    }
    EXPECT_FALSE(LeftOver());
}

INSTANTIATE_TEST_SUITE_P(Platform, FailedWrites,
                         ::testing::Combine(::testing::ValuesIn(kWriteOps),
                                            ::testing::Values("None", "Create", "Write", "Flush",
                                                              "Commit")),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param).what) + "_" +
                                    std::get<1>(info.param);
                         });

// Links and special files at either end. error: 0, or the number thrown with everything left as
// it was; named: the Windows path the error names.
struct GuardCase {
    const char *what, *setup, *op;
    int error;
    const char* after = "";
    const char* named = nullptr;
};

const GuardCase kGuardCases[] = {
    // A link at the target is replaced; what it points to, the source above all, is untouched.
    {"FolderOntoSymlinkToSource", "A/fig.cr2=src;T/A/fig.cr2@A/fig.cr2", "CopyFolder A T\\A", 0,
     "A/fig.cr2=src;T/A/fig.cr2=src"},
    {"FolderOntoHardLinkToSource", "A/fig.cr2=src;T/A/fig.cr2#A/fig.cr2", "CopyFolder A T\\A", 0,
     "A/fig.cr2=src;T/A/fig.cr2=src"},
    {"FileOntoSymlink", "A/dog.cr2=src;O/keep=keep;T/dog.cr2@O/keep",
     "CopyFile A\\dog.cr2 T\\dog.cr2", 0, "O/keep=keep;T/dog.cr2=src"},
    {"WriteOntoSymlink", "O/keep=keep;T/list.txt@O/keep", "WriteFile T\\list.txt", 0,
     "O/keep=keep;T/list.txt=new"},
    {"WriteOntoHardLink", "O/keep=keep;T/list.txt#O/keep", "WriteFile T\\list.txt", 0,
     "O/keep=keep;T/list.txt=new"},
    {"LinksCopiedAsLinks", "A/x.obj=src;A/ln@A/x.obj;T/", "CopyFolder A T\\A", 0,
     "T/A/x.obj=src;T/A/ln@A/x.obj"},
    // Refused before anything is written.
    {"MergeThroughAFolderLink", "A/Sub/x.obj=src;O/y.obj=keep;T/A/Sub@O", "CopyFolder A T\\A",
     err::kPathFileAccess, "", "C:\\T\\A\\Sub"},
    {"FolderOntoAFile", "A/x.obj=src;T/A=old", "CopyFolder A T\\A", err::kPathFileAccess},
    {"FolderHoldingAPipe", "A/dog.cr2=src;A/pipe|fifo;T/", "CopyFolder A T\\A",
     err::kPathFileAccess, "", "C:\\A\\pipe"},
    {"MergeHoldingASocket", "A/dog.cr2=src;A/Sub/sock|socket;T/A/dog.cr2=old", "CopyFolder A T\\A",
     err::kPathFileAccess, "", "C:\\A\\Sub\\sock"},
    {"CopyOfAPipe", "A/pipe|fifo;T/", "CopyFile A\\pipe T\\pipe", err::kPathFileAccess},
    {"WriteOntoAPipe", "T/pipe|fifo", "WriteFile T\\pipe", err::kPathFileAccess},
};

class GuardedWrites : public WriteFixture, public ::testing::TestWithParam<GuardCase> {};

TEST_P(GuardedWrites, NeverWriteThroughALinkNorOpenASpecialFile) {
    const GuardCase& tc = GetParam();
    MakeEntries(c, tc.setup);
    const auto before = Snapshot(c.path());

    std::string description;
    EXPECT_EQ(ThrownNumber([&] { RunOp(fs, tc.op); }, &description), tc.error);
    if (tc.error) {
        EXPECT_EQ(Snapshot(c.path()), before);
    }
    ExpectEntries(tc.after);
    if (tc.named) {
        EXPECT_EQ(description, "Path/File access error: " + std::string(tc.named));
    }
    EXPECT_FALSE(LeftOver());
}

INSTANTIATE_TEST_SUITE_P(Platform, GuardedWrites, ::testing::ValuesIn(kGuardCases), ByWhat);

}  // namespace
}  // namespace bw::test
