#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/DesktopShell.h"
#include "platform/PlatformError.h"
#include "support/TestDir.h"

namespace bw::test {
namespace {

namespace stdfs = std::filesystem;

// The real trash, in a data folder of the test's own; Qt must not be left to guess when the
// folder is missing, or the item lands beside the program.
TEST(DesktopShellTrash, ItemsLandInTheFreedesktopTrash) {
    for (const bool dataFolderMissing : {false, true}) {
        TestDir items, home;
        const std::string data = home.host(dataFolderMissing ? "not/yet/data" : "data");
        if (!dataFolderMissing) home.createDir("data");
        const std::string old = ::getenv("XDG_DATA_HOME");
        ::setenv("XDG_DATA_HOME", data.c_str(), 1);
        items.createFile("Sample/a.obj", "geo");
        const std::string file = items.createFile("dog.cr2", "bytes");

        MakeDesktopShell()->MoveToTrash(file);
        MakeDesktopShell()->MoveToTrash(items.host("Sample"));
        EXPECT_THROW(MakeDesktopShell()->MoveToTrash(items.host("gone.txt")), PlatformError);

        ::setenv("XDG_DATA_HOME", old.c_str(), 1);
        EXPECT_FALSE(stdfs::exists(file));
        EXPECT_FALSE(stdfs::exists(stdfs::current_path() / "dog.cr2"));
        EXPECT_TRUE(stdfs::exists(data + "/Trash/files/dog.cr2"));
        EXPECT_TRUE(stdfs::exists(data + "/Trash/files/Sample/a.obj"));
        EXPECT_GT(stdfs::file_size(data + "/Trash/info/dog.cr2.trashinfo"), 0u);
        EXPECT_TRUE(stdfs::exists(data + "/Trash/info/Sample.trashinfo"));
    }
}

// The association comes from the desktop's own tables, here the test home's.
TEST(DesktopShellOpen, AssociationIsAskedOfTheDesktop) {
    const std::string config = ::getenv("XDG_CONFIG_HOME"), data = ::getenv("XDG_DATA_HOME");
    stdfs::create_directories(data + "/applications");
    std::ofstream(data + "/applications/bw-viewer.desktop")
        << "[Desktop Entry]\nType=Application\nName=V\nExec=true %f\nMimeType=text/plain;\n";
    std::ofstream(config + "/mimeapps.list")
        << "[Default Applications]\ntext/plain=bw-viewer.desktop\n";
    TestDir items;
    auto shell = MakeDesktopShell();
    EXPECT_TRUE(shell->HasAssociatedApplication(items.createFile("readme.txt", "plain words\n")));
    EXPECT_FALSE(shell->HasAssociatedApplication(
        items.createFile("blob.xyz", std::string("\x01\x02\x00\x9f", 4))));
    stdfs::remove(config + "/mimeapps.list");
}

TEST(DesktopShellTrash, OnlyATrashFilesFolderCounts) {
    const std::string uid = std::to_string(::getuid());
    EXPECT_TRUE(IsTrashLocation("/home/u/.local/share/Trash/files/dog.cr2"));
    EXPECT_TRUE(IsTrashLocation("/media/stick/.Trash-" + uid + "/files/dog.cr2"));
    for (const char* p : {"/media/stick/.Trash-99999/files/dog.cr2", "dog.cr2", "/work/dog.cr2",
                          "Trash/files/dog.cr2", "/home/u/.local/share/Trash/info/dog.cr2"})
        EXPECT_FALSE(IsTrashLocation(p)) << p;
}

}  // namespace
}  // namespace bw::test
