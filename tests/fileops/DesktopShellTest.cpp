#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "platform/DesktopShell.h"
#include "platform/PlatformError.h"
#include "support/TestDir.h"

namespace bw::test {
namespace {

namespace stdfs = std::filesystem;

// Points XDG_DATA_HOME at a folder for one test and puts the old value back.
class DataHome {
  public:
    explicit DataHome(const std::string& path)
        : old_(::getenv("XDG_DATA_HOME") ? ::getenv("XDG_DATA_HOME") : "") {
        ::setenv("XDG_DATA_HOME", path.c_str(), 1);
    }
    ~DataHome() { ::setenv("XDG_DATA_HOME", old_.c_str(), 1); }

  private:
    std::string old_;
};

struct TrashCase {
    const char* what;
    bool folder;
    bool dataHomeMissing;  // the data folder does not exist yet
};

class DesktopTrash : public ::testing::TestWithParam<TrashCase> {};

TEST_P(DesktopTrash, ItemLandsInTheFreedesktopTrashAndCanBeRestored) {
    const TrashCase& tc = GetParam();
    TestDir items, home;
    const std::string data = home.host(tc.dataHomeMissing ? "not/yet/data" : "data");
    if (!tc.dataHomeMissing) home.createDir("data");
    DataHome env(data);
    const std::string item =
        tc.folder ? items.createDir("Sample") : items.createFile("dog.cr2", "bytes");
    if (tc.folder) items.createFile("Sample/a.obj", "geo");
    const std::string name = stdfs::path(item).filename();
    const stdfs::path cwd = stdfs::current_path();

    MakeDesktopShell()->MoveToTrash(item);

    EXPECT_FALSE(stdfs::exists(item));
    EXPECT_FALSE(stdfs::exists(cwd / name)) << "moved beside the program instead of into the trash";
    const std::string trashed = data + "/Trash/files/" + name;
    EXPECT_TRUE(stdfs::exists(tc.folder ? trashed + "/a.obj" : trashed));
    const std::string info = data + "/Trash/info/" + name + ".trashinfo";
    ASSERT_TRUE(stdfs::exists(info));
    EXPECT_TRUE(stdfs::file_size(info) > 0);
}

INSTANTIATE_TEST_SUITE_P(Platform, DesktopTrash,
                         ::testing::Values(TrashCase{"file", false, false},
                                           TrashCase{"folder", true, false},
                                           TrashCase{"missing_data_folder", false, true}),
                         [](const auto& info) { return std::string(info.param.what); });

TEST(DesktopShellTrash, MissingItemIsAFailure) {
    TestDir items;
    EXPECT_THROW(MakeDesktopShell()->MoveToTrash(items.host("nothing.txt")), PlatformError);
}

struct LocationCase {
    std::string path;
    bool trash;
};

class TrashLocations : public ::testing::TestWithParam<LocationCase> {};

TEST_P(TrashLocations, OnlyATrashFilesFolderCounts) {
    EXPECT_EQ(IsTrashLocation(GetParam().path), GetParam().trash);
}

INSTANTIATE_TEST_SUITE_P(
    Platform, TrashLocations,
    ::testing::Values(
        LocationCase{"/home/u/.local/share/Trash/files/dog.cr2", true},
        LocationCase{"/media/stick/.Trash-" + std::to_string(::getuid()) + "/files/dog.cr2", true},
        LocationCase{"/media/stick/.Trash-99999/files/dog.cr2", false},
        LocationCase{"dog.cr2", false}, LocationCase{"/work/dog.cr2", false},
        LocationCase{"Trash/files/dog.cr2", false},
        LocationCase{"/home/u/.local/share/Trash/info/dog.cr2", false}));

}  // namespace
}  // namespace bw::test
