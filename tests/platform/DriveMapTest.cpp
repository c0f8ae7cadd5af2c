#include <gtest/gtest.h>

#include <filesystem>

#include "platform/DriveMap.h"
#include "support/TestDir.h"

namespace bw {
namespace {

using test::TestDir;

TEST(DriveMap, PrefixDrivesPlusZ) {
    TestDir prefix, c, d;
    prefix.createDir("dosdevices");
    std::filesystem::create_directory_symlink(c.path(), prefix.host("dosdevices/c:"));
    std::filesystem::create_directory_symlink(d.path(), prefix.host("dosdevices/d:"));
    std::filesystem::create_symlink("/dev/null", prefix.host("dosdevices/d::"));  // a raw device, not a drive
    std::filesystem::create_directory_symlink("/nonexistent-bw", prefix.host("dosdevices/e:"));
    auto map = DriveMap::FromPrefix(prefix.path());
    ASSERT_EQ(map.drives().size(), 3u);
    EXPECT_EQ(map.drives()[0].letter, "C:");
    EXPECT_EQ(map.drives()[1].letter, "D:");
    EXPECT_EQ(map.drives()[2].letter, "Z:");
    EXPECT_EQ(map.drives()[2].root, "/");
}

TEST(DriveMap, NoPrefixMeansOnlyZ) {
    auto map = DriveMap::FromPrefix("/nonexistent-prefix-bw");
    ASSERT_EQ(map.drives().size(), 1u);
    EXPECT_EQ(*map.ToHost("Z:\\etc"), "/etc");
    EXPECT_EQ(*map.ToHost("z:"), "/");
    EXPECT_FALSE(map.ToHost("C:\\x").has_value());
    EXPECT_FALSE(map.ToHost("relative\\x").has_value());
}

TEST(DriveMap, ResolvesComponentsWithoutRegardToCase) {
    TestDir c;
    c.createFile("Poser4/Runtime/libraries/Character/Fig.cr2");
    auto map = DriveMap::FromDrives({{"C:", c.path()}});
    EXPECT_EQ(*map.ToHost("C:\\poser4\\RUNTIME\\Libraries\\character\\FIG.CR2"),
              c.host("Poser4/Runtime/libraries/Character/Fig.cr2"));
    // A missing component is kept as written, and so is everything after it.
    EXPECT_EQ(*map.ToHost("C:\\POSER4\\New\\Sub"), c.host("Poser4/New/Sub"));
}

TEST(DriveMap, LongestRootWinsForHostPaths) {
    TestDir c;
    c.createDir("inner");
    auto map = DriveMap::FromDrives({{"C:", c.path()}, {"D:", c.host("inner")}});
    EXPECT_EQ(map.ToWindows(c.host("inner/a b/x.cr2")), "D:\\a b\\x.cr2");
    EXPECT_EQ(map.ToWindows(c.host("other")), "C:\\other");
    EXPECT_EQ(map.ToWindows(c.path()), "C:\\");
    EXPECT_EQ(map.ToWindows("/usr/share"), "Z:\\usr\\share");
    // A root that is only a name prefix of another folder does not match it.
    EXPECT_EQ(map.ToWindows(c.path() + "x/y"), "Z:" + ([&] {
                  std::string s = c.path() + "x/y";
                  for (auto& ch : s)
                      if (ch == '/') ch = '\\';
                  return s;
              })());
}

}  // namespace
}  // namespace bw
