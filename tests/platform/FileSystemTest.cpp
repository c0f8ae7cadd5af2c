#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "platform/FileSystem.h"
#include "platform/PlatformError.h"
#include "support/ParamNames.h"
#include "support/TestDir.h"
#include "support/Thrown.h"

namespace bw {
namespace {

using test::TestDir;

// make: creates the entry at the host path; says: part of the error's description.
struct RefusedRead {
    const char *what, *name;
    void (*make)(const std::string& host);
    const char* says;
};

void MakeFifo(const std::string& host) { ASSERT_EQ(::mkfifo(host.c_str(), 0644), 0); }

void MakeSparse(const std::string& host, off_t size) {
    const int fd = ::open(host.c_str(), O_WRONLY | O_CREAT, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::ftruncate(fd, size), 0);
    ::close(fd);
}

const RefusedRead kRefusedReads[] = {
    {"Fifo", "pipe.cr2", MakeFifo, "pipe, socket or device"},
    {"SparseHugeScene", "big.pz3", [](const std::string& h) { MakeSparse(h, off_t{64} << 30); },
     "larger than 256 MB"},
    {"JustOverTheCap", "over.pz2",
     [](const std::string& h) { MakeSparse(h, static_cast<off_t>(kMaxReadFileBytes) + 1); },
     "larger than 256 MB"},
};

class ReadFileRefuses : public ::testing::TestWithParam<RefusedRead> {};

TEST_P(ReadFileRefuses, WithAClearErrorAndWithoutWaiting) {
    const RefusedRead& tc = GetParam();
    TestDir c;
    const std::string host = c.host(tc.name);
    tc.make(host);
    FileSystem fs(DriveMap::FromDrives({{"C:", c.path()}}));
    // A read that opened the pipe blocking would wait for a writer for ever: one comes after a
    // few seconds, so that such a read fails the test instead of hanging it.
    std::atomic<bool> done{false};
    std::thread writer([&] {
        for (int i = 0; i < 300 && !done; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        if (done) return;
        const int fd = ::open(host.c_str(), O_WRONLY | O_NONBLOCK);
        if (fd >= 0) ::close(fd);
    });
    std::string said = "no error";
    try {
        fs.ReadFile(std::string("C:\\") + tc.name);
    } catch (const PlatformError& e) {
        said = std::to_string(e.number()) + " " + e.description();
    } catch (const std::exception& e) {  // such as running out of memory on a huge file
        said = e.what();
    }
    done = true;
    writer.join();
    EXPECT_TRUE(said.rfind("75 Path/File access error", 0) == 0) << said;
    EXPECT_NE(said.find(tc.says), std::string::npos) << said;
}

INSTANTIATE_TEST_SUITE_P(Platform, ReadFileRefuses, ::testing::ValuesIn(kRefusedReads),
                         test::ByWhat);

// What changes the disk acts on the entry named exactly: the item "dog.cr2" (a file, or a folder
// holding f) has gone, and DOG.CR2 beside it is another item that must stay.
struct StaleCase {
    const char* what;
    bool folder;
    void (*act)(FileSystem&);
    int error;
};

const StaleCase kStaleCases[] = {
    {"DeleteFile", false, [](FileSystem& fs) { fs.DeleteFile("C:\\Lib\\dog.cr2"); },
     err::kFileNotFound},
    {"DeleteFolder", true, [](FileSystem& fs) { fs.DeleteFolder("C:\\Lib\\dog.cr2"); },
     err::kPathNotFound},
    {"RenameFrom", false, [](FileSystem& fs) { fs.Rename("C:\\Lib\\dog.cr2", "C:\\Lib\\x"); },
     err::kFileNotFound},
};

class StalePath : public ::testing::TestWithParam<StaleCase> {};

TEST_P(StalePath, NeverReachesTheCaseTwin) {
    const StaleCase& tc = GetParam();
    TestDir c;
    c.createFile(tc.folder ? "Lib/DOG.CR2/f" : "Lib/DOG.CR2", "other");
    FileSystem fs(DriveMap::FromDrives({{"C:", c.path()}}));
    EXPECT_EQ(test::ThrownNumber([&] { tc.act(fs); }), tc.error);
    EXPECT_EQ(c.readBytes(tc.folder ? "Lib/DOG.CR2/f" : "Lib/DOG.CR2"), "other");
}

INSTANTIATE_TEST_SUITE_P(Platform, StalePath, ::testing::ValuesIn(kStaleCases), test::ByWhat);

}  // namespace
}  // namespace bw
