#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QString>
#include <cerrno>
#include <filesystem>

#include "platform/PlatformError.h"
#include "support/TestDir.h"
#include "support/Thrown.h"
#include "ui/DesktopShell.h"

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

// The trash move's own system error decides the report: a refusal is the security message (70),
// not the generic "Path/File access error".
TEST(DesktopShellTrash, AFailedMoveKeepsItsSystemError) {
    const std::pair<int, int> cases[] = {
        // errno of the failed step -> classic number
        {EPERM, 70}, {EACCES, 70}, {EROFS, 70}, {ENOENT, 53}, {ENOSPC, 61}, {EIO, 57}, {0, 75},
    };
    for (const auto& [e, number] : cases) {
        SCOPED_TRACE(e);
        EXPECT_EQ(TrashFailureNumber(qt_error_string(e).toStdString()), number);
    }
    EXPECT_EQ(TrashFailureNumber(""), 75);
    EXPECT_EQ(TrashFailureNumber("Something odd"), 75);
}

// A file the system refuses to move: immutable where we may set that (as root), else in a folder
// without write permission.
TEST(DesktopShellTrash, ARefusedMoveIsPermissionDenied) {
    TestDir items, home;
    const std::string old = ::getenv("XDG_DATA_HOME");
    ::setenv("XDG_DATA_HOME", home.path().c_str(), 1);
    const std::string file = items.createFile("locked/dog.cr2", "bytes");
    const int fd = ::open(file.c_str(), O_RDONLY);
    int flags = 0;
    const bool immutable = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0 &&
                           (flags |= FS_IMMUTABLE_FL, ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0);
    if (!immutable) ::chmod(items.host("locked").c_str(), 0555);
    const int number = ThrownNumber([&] { MakeDesktopShell()->MoveToTrash(file); });
    if (immutable) {
        flags &= ~FS_IMMUTABLE_FL;
        ::ioctl(fd, FS_IOC_SETFLAGS, &flags);
    }
    ::close(fd);
    ::chmod(items.host("locked").c_str(), 0755);
    ::setenv("XDG_DATA_HOME", old.c_str(), 1);
    if (!immutable && ::geteuid() == 0) GTEST_SKIP() << "no way to refuse a move here";
    EXPECT_EQ(number, 70);
    EXPECT_TRUE(stdfs::exists(file));
}

}  // namespace
}  // namespace bw::test
