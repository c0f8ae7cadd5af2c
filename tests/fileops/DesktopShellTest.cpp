#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>

#include "platform/DesktopShell.h"
#include "platform/PlatformError.h"
#include "support/TestDir.h"

namespace bw::test {
namespace {

namespace stdfs = std::filesystem;

// The real trash, in a data folder of the test's own. A missing data folder must be made, not
// left for Qt to guess, or the item lands beside the program.
TEST(DesktopShellTrash, ItemsLandInTheFreedesktopTrash) {
    for (const bool dataFolderMissing : {false, true}) {
        TestDir items, home;
        const std::string data = dataFolderMissing ? home.host("not/yet/data") : home.path();
        const std::string old = ::getenv("XDG_DATA_HOME");
        ::setenv("XDG_DATA_HOME", data.c_str(), 1);
        items.createFile("Sample/a.obj", "geo");
        const std::string file = items.createFile("dog.cr2", "bytes");
        auto shell = MakeDesktopShell();
        shell->MoveToTrash(file);
        shell->MoveToTrash(items.host("Sample"));
        EXPECT_THROW(shell->MoveToTrash(items.host("gone.txt")), PlatformError);
        ::setenv("XDG_DATA_HOME", old.c_str(), 1);
        EXPECT_FALSE(stdfs::exists(file) || stdfs::exists(stdfs::current_path() / "dog.cr2"));
        EXPECT_EQ(stdfs::file_size(data + "/Trash/files/dog.cr2"), 5u);
        EXPECT_TRUE(stdfs::exists(data + "/Trash/files/Sample/a.obj"));
        EXPECT_TRUE(stdfs::exists(data + "/Trash/info/dog.cr2.trashinfo"));
    }
}

}  // namespace
}  // namespace bw::test
