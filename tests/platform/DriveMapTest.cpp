#include <gtest/gtest.h>

#include <filesystem>

#include "platform/DriveMap.h"
#include "support/ParamNames.h"
#include "support/TestDir.h"

namespace bw {
namespace {

using test::TestDir;

TEST(DriveMap, PrefixDrivesPlusZ) {
    TestDir prefix, c, d;
    prefix.createDir("dosdevices");
    std::filesystem::create_directory_symlink(c.path(), prefix.host("dosdevices/c:"));
    std::filesystem::create_directory_symlink(d.path(), prefix.host("dosdevices/d:"));
    std::filesystem::create_symlink("/dev/null", prefix.host("dosdevices/d::"));  // a raw device
    std::filesystem::create_directory_symlink("/nonexistent-bw", prefix.host("dosdevices/e:"));
    std::string drives;
    const auto map = DriveMap::FromPrefix(prefix.path());
    for (const auto& drive : map.drives()) drives += drive.letter + drive.root + " ";
    EXPECT_EQ(drives, "C:" + c.path() + " D:" + d.path() + " Z:/ ");

    const auto none = DriveMap::FromPrefix("/nonexistent-prefix-bw");
    EXPECT_EQ(none.drives().size(), 1u);
    EXPECT_EQ(*none.ToHost("Z:\\etc") + " " + *none.ToHost("z:"), "/etc /");
    EXPECT_FALSE(none.ToHost("C:\\x") || none.ToHost("relative\\x"));
}

TEST(DriveMap, ResolvesComponentsWithoutRegardToCaseAndHostPathsByLongestRoot) {
    TestDir c;
    c.createFile("Poser4/Runtime/libraries/Character/Fig.cr2");
    c.createDir("inner");
    auto map = DriveMap::FromDrives({{"C:", c.path()}});
    EXPECT_EQ(*map.ToHost("C:\\poser4\\RUNTIME\\Libraries\\character\\FIG.CR2"),
              c.host("Poser4/Runtime/libraries/Character/Fig.cr2"));
    // A missing component is kept as written, and so is everything after it.
    EXPECT_EQ(*map.ToHost("C:\\POSER4\\New\\Sub"), c.host("Poser4/New/Sub"));

    map = DriveMap::FromDrives({{"C:", c.path()}, {"D:", c.host("inner")}});  // longest root wins
    EXPECT_EQ(map.ToWindows(c.host("inner/a b/x.cr2")), "D:\\a b\\x.cr2");
    EXPECT_EQ(map.ToWindows(c.host("other")), "C:\\other");
    EXPECT_EQ(map.ToWindows(c.path()), "C:\\");
    EXPECT_EQ(map.ToWindows("/usr/share"), "Z:\\usr\\share");
    // A root that is only a name prefix of another folder does not match it.
    EXPECT_EQ(map.ToWindows(c.path() + "x"), "Z:\\tmp\\" + c.path().substr(5) + "x");
}

// On C:, Lib holds dog.cr2, DOG.CR2 and report.txt; Pair and PAIR each hold x. found: the host
// path below C:, "?" after it when the lookup had to choose between case variants.
struct LookupCase {
    const char *what, *windowsPath;
    Lookup lookup;
    const char* found;
};

const LookupCase kLookupCases[] = {
    {"ExactEntryBeatsItsCaseTwin", "C:\\Lib\\dog.cr2", Lookup::IgnoringCase, "Lib/dog.cr2"},
    {"TwinsWithoutAnExactOneAreAChoice", "C:\\lib\\Dog.cr2", Lookup::IgnoringCase, "Lib/DOG.CR2?"},
    {"FinalNameKeptAsWritten", "C:\\lib\\Report.txt", Lookup::FoldersIgnoringCase,
     "Lib/Report.txt"},
    {"FinalNameMatchedWhenAllIgnoreCase", "C:\\lib\\Report.txt", Lookup::IgnoringCase,
     "Lib/report.txt"},
    {"FolderTwinsAreAChoice", "C:\\pAIr\\x", Lookup::FoldersIgnoringCase, "PAIR/x?"},
    {"TrailingSeparatorNamesTheFolder", "C:\\LIB\\", Lookup::FoldersIgnoringCase, "LIB"},
    {"AsWrittenAsksNothing", "C:\\LIB\\DOG.cr2", Lookup::AsWritten, "LIB/DOG.cr2"},
    // Read as Windows reads them: ".." never climbs above the drive's root, "/" separates too.
    {"DotDotStopsAtTheRoot", "C:\\..\\..\\Lib\\dog.cr2", Lookup::IgnoringCase, "Lib/dog.cr2"},
    {"DotDotStepsBackOneName", "C:\\Lib\\..\\Pair\\.\\x", Lookup::AsWritten, "Pair/x"},
    {"SlashIsASeparator", "C:/Lib\\report.txt", Lookup::FoldersIgnoringCase, "Lib/report.txt"},
    {"SlashCarriesNoDotDotPastTheRoot", "C:\\/../Lib/x/../dog.cr2", Lookup::AsWritten,
     "Lib/dog.cr2"},
};

class Lookups : public ::testing::TestWithParam<LookupCase> {};

TEST_P(Lookups, FindTheEntryTheLookupAllows) {
    const LookupCase& tc = GetParam();
    TestDir c;
    for (const char* f : {"Lib/dog.cr2", "Lib/DOG.CR2", "Lib/report.txt", "Pair/x", "PAIR/x"})
        c.createFile(f);
    const auto found = DriveMap::FromDrives({{"C:", c.path()}}).Resolve(tc.windowsPath, tc.lookup);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->path + (found->ambiguous ? "?" : ""), c.host(tc.found));
}

INSTANTIATE_TEST_SUITE_P(DriveMap, Lookups, ::testing::ValuesIn(kLookupCases), test::ByWhat);

TEST(DriveMap, OnlyNamesWithoutABackslashHaveAWindowsPath) {
    const auto map = DriveMap::FromDrives({{"C:", "/srv/c\\drive"}});
    EXPECT_TRUE(map.CanNameHostPath("/srv/c\\drive/a b/x.cr2"));  // the root's own name is no part
    EXPECT_FALSE(map.CanNameHostPath("/srv/c\\drive/sub\\victim.txt"));
    EXPECT_FALSE(map.CanNameHostPath("/tmp/a\\..\\b"));
    // Windows reads "." and ".." as steps, not as the names the host path holds.
    EXPECT_FALSE(map.CanNameHostPath("/srv/c\\drive/a/../b") ||
                 map.CanNameHostPath("/srv/c\\drive/."));
    EXPECT_TRUE(map.CanNameHostPath("/srv/c\\drive/a..b/.x"));
    std::string names;
    for (const char* n : {"a b.cr2", "sub\\victim.txt", "..", ".", "a\\.."})
        names += IsWindowsName(n) ? "1" : "0";
    EXPECT_EQ(names, "10000");
}

}  // namespace
}  // namespace bw
