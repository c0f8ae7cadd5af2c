#include <gtest/gtest.h>

#include <sstream>

#include "check/CheckTypes.h"
#include "platform/FileSystem.h"
#include "repair/GzipBytes.h"
#include "repair/RepairBatch.h"
#include "repair/RepairDiff.h"
#include "repair/RowChanges.h"
#include "support/ParamNames.h"
#include "support/TestDir.h"

namespace bw::repair {
namespace {

const std::string kOld = ":Runtime:Textures:Old:a.jpg";
const std::string kNew = ":Runtime:Textures:New:a.jpg";
const std::string kQuotedNew = "\"" + kNew + "\"";

struct PlanCase {
    const char* what;
    std::string before;
    uint32_t line;
    std::string newReference;
    std::string after;  // empty: refused
    const char* reason = "";
};

class PlanLines : public ::testing::TestWithParam<PlanCase> {};

// Only the named line changes; every other byte, line ends of all three kinds included, stays.
TEST_P(PlanLines, RewriteExactlyTheNamedLine) {
    const auto& p = GetParam();
    test::TestDir dir;
    const std::string file = dir.createFile("Runtime/Libraries/Pose/a.pz2", p.before);
    const FileSystem fs(DriveMap::FromDrives({}));
    const auto plan = PlanRepairBatch(fs, {{file, p.line, kOld, p.newReference}});
    if (p.after.empty()) {
        ASSERT_TRUE(plan.files.empty());
        ASSERT_EQ(plan.refused.size(), 1u);
        EXPECT_NE(plan.refused[0].reason.find(p.reason), std::string::npos)
            << plan.refused[0].reason;
        return;
    }
    ASSERT_EQ(plan.files.size(), 1u);
    EXPECT_TRUE(plan.refused.empty());
    EXPECT_EQ(plan.files[0].newBytes, p.after);
    EXPECT_EQ(plan.files[0].oldBytes, p.before);
    EXPECT_EQ(dir.readBytes("Runtime/Libraries/Pose/a.pz2"), p.before);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PlanLines,
    ::testing::Values(PlanCase{"LfEnds", "{\n\ttextureMap " + kOld + "\n}\n", 2, kNew,
                               "{\n\ttextureMap " + kQuotedNew + "\n}\n"},
                      PlanCase{"MixedEndsCountedAsTheCheckCounts",
                               "a\rb\r\n\ttextureMap " + kOld + "\r\tbumpMap " + kOld + "\n", 4,
                               kNew,
                               "a\rb\r\n\ttextureMap " + kOld + "\r\tbumpMap " + kQuotedNew + "\n"},
                      PlanCase{"QuotedPathKeepsOnePairOfQuotes", "\t\tfile \"" + kOld + "\"", 1,
                               kNew, "\t\tfile " + kQuotedNew},
                      PlanCase{"LineNoLongerHoldsTheReference",
                               "x\n\ttextureMap :Runtime:Textures:b.jpg\n", 2, kNew, "",
                               "no longer holds"},
                      PlanCase{"LineGone", "\ttextureMap " + kOld + "\n", 3, kNew, "", "no line 3"},
                      PlanCase{"NewReferenceWithLineEnd", "\ttextureMap " + kOld, 1,
                               ":Runtime:Text\nures:a.jpg", "", "line end"}),
    test::ByWhat);

TEST(RepairPlan, CompressedFileIsRewrittenInsideItsGzip) {
    test::TestDir dir;
    const std::string text = "{\r\n\ttextureMap " + kOld + "\r\n}\r\n";
    const std::string file = dir.createFile("Runtime/Libraries/Pose/a.pzz", Gzip(text));
    const auto plan =
        PlanRepairBatch(FileSystem(DriveMap::FromDrives({})), {{file, 2, kOld, kNew}});
    ASSERT_EQ(plan.files.size(), 1u);
    EXPECT_TRUE(plan.files[0].compressed);
    EXPECT_EQ(Gunzip(plan.files[0].newBytes, 1 << 20),
              "{\r\n\ttextureMap " + kQuotedNew + "\r\n}\r\n");

    std::ostringstream diff;
    WriteUnifiedDiff(diff, plan, dir.host("Runtime"));
    EXPECT_EQ(diff.str(),
              "--- a/Libraries/Pose/a.pzz\n+++ b/Libraries/Pose/a.pzz\n@@ -2 +2 @@\n"
              "-\ttextureMap " +
                  kOld + "\n+\ttextureMap " + kQuotedNew + "\n");
}

TEST(RepairPlan, DamagedGzipIsRefusedNotRewritten) {
    test::TestDir dir;
    const std::string file = dir.createFile("Runtime/Libraries/Pose/a.pzz", "plain text");
    const auto plan =
        PlanRepairBatch(FileSystem(DriveMap::FromDrives({})), {{file, 1, kOld, kNew}});
    EXPECT_TRUE(plan.files.empty());
    ASSERT_EQ(plan.refused.size(), 1u);
    EXPECT_NE(plan.refused[0].reason.find("cannot be read"), std::string::npos);
}

// Only a moved row with one candidate needs no choice; its new reference starts at "Runtime".
TEST(RowChanges, MovedRowsWithOneCandidateAreRepairable) {
    const DriveMap drives = DriveMap::FromDrives({{"C:", "/srv/poser"}});
    using check::RefStatus;
    std::vector<check::CheckRow> rows(4);
    const std::string found = "/srv/poser/Poser4/Runtime/Textures/New/a.jpg";
    rows[0] = {"/srv/poser/x.pz2", 2, {}, kOld, RefStatus::Moved, {found}, {}};
    rows[1] = {"/srv/poser/x.pz2", 3, {}, kOld, RefStatus::Ambiguous, {found, found + "2"}, {}};
    rows[2] = {"/srv/poser/x.pz2", 4, {}, kOld, RefStatus::Missing, {}, {}};
    rows[3] = {"/srv/poser/x.pz2", 5, {}, kOld, RefStatus::Ok, {}, {}};
    const ReferenceChange expected{"/srv/poser/x.pz2", 2, kOld, kNew};
    EXPECT_EQ(RepairableChanges(rows, drives), std::vector<ReferenceChange>{expected});
    EXPECT_EQ(ChangeForRow(rows[1], found, drives).newReference, kNew);
}

}  // namespace
}  // namespace bw::repair
