#include <algorithm>

#include "app/Desktop.h"
#include "app/ReportError.h"
#include "fileops/FileopsFixture.h"
#include "fileops/PrintContentOfNode.h"
#include "fileops/PrintThisFolderToFile.h"

namespace bw::test {
namespace {

// Lists folders in an order of the test's choosing, standing in for the file system's own order.
class OrderedFileSystem : public FailingFileSystem {
  public:
    using FailingFileSystem::FailingFileSystem;
    bool descending = false;
    std::vector<FolderEntry> ListFolder(const std::string& folder) const override {
        auto entries = FailingFileSystem::ListFolder(folder);
        std::sort(entries.begin(), entries.end(),
                  [this](const FolderEntry& a, const FolderEntry& b) {
                      return descending ? a.name > b.name : a.name < b.name;
                  });
        return entries;
    }
};

class Listing : public FileopsFixture {
  protected:
    Listing() {
        auto ordered = std::make_unique<OrderedFileSystem>(app->fs->driveMap());
        fs = ordered.get();
        app->fs = std::move(ordered);
    }
    // Runs the command on a folder and answers the save chooser with `out` (C: relative).
    void print(const std::string& fullPath, bool subFolders,
               const std::string& out = "out/list.txt") {
        c.createDir("out");
        select(fullPath);
        app->PrintSubFolders = subFolders;
        desktop.saveFileAnswers = {out.empty() ? "" : onC(out)};
        PrintContentOfNode(*app);
    }
    void makeLib() {
        c.createDir("Lib/Empty");
        c.createFile("Lib/Geo/a.obj");
        c.createFile("Lib/readme.txt");
        c.createFile("Lib/setup.exe");
    }
    OrderedFileSystem* fs;
};

TEST_F(Listing, WholeTreeByteForByte) {
    makeLib();
    print("C:\\Lib", true);
    EXPECT_EQ(c.readBytes("out/list.txt"),
              "Folder Listing for: C:\\Lib\r\n"
              "\r\n"
              "+Empty (Folder)\r\n"
              "|(no folders or files found in this folder)\r\n"
              "+Geo (Folder)\r\n"
              "|-a.obj (File)\r\n"
              "-readme.txt (File)\r\n"
              "-setup.exe (System File)\r\n");
    ASSERT_EQ(desktop.chooserTitles.size(), 1u);
    EXPECT_EQ(desktop.chooserTitles[0], "Save Listing As...");
    EXPECT_TRUE(desktop.msgBoxes.empty());
    EXPECT_FALSE(desktop.busy());
}

TEST_F(Listing, OwnEntriesOnlyInFileSystemOrder) {
    makeLib();
    fs->descending = true;
    print("C:\\Lib", false);
    EXPECT_EQ(c.readBytes("out/list.txt"),
              "Folder Listing for: C:\\Lib\r\n\r\n+Geo (Folder)\r\n+Empty (Folder)\r\n"
              "-setup.exe (System File)\r\n-readme.txt (File)\r\n");
}

TEST_F(Listing, DeeperLevelsAndFoldersWithOnlyFolders) {
    c.createFile("Lib/A/B/c.txt");
    print("C:\\Lib", true);
    EXPECT_EQ(
        c.readBytes("out/list.txt"),
        "Folder Listing for: C:\\Lib\r\n\r\n+A (Folder)\r\n|+B (Folder)\r\n||-c.txt (File)\r\n");
}

TEST_F(Listing, EmptyFolder) {
    c.createDir("Lib");
    print("C:\\Lib", true);
    EXPECT_EQ(c.readBytes("out/list.txt"),
              "Folder Listing for: C:\\Lib\r\n\r\n(no folders or files found in this folder)\r\n");
}

TEST_F(Listing, DriveListsItsRoot) {
    c.createDir("Lib");
    print("C:", false);
    EXPECT_EQ(c.readBytes("out/list.txt"),
              "Folder Listing for: C:\r\n\r\n+Lib (Folder)\r\n+out (Folder)\r\n");
}

TEST_F(Listing, UnreadableFolderEndsOnlyItsOwnPart) {
    makeLib();
    fs->unreadableFolder = "C:\\Lib\\Empty";
    print("C:\\Lib", true);
    EXPECT_EQ(
        c.readBytes("out/list.txt"),
        "Folder Listing for: C:\\Lib\r\n\r\n+Empty (Folder)\r\n+Geo (Folder)\r\n|-a.obj (File)\r\n"
        "-readme.txt (File)\r\n-setup.exe (System File)\r\n");
    EXPECT_TRUE(desktop.msgBoxes.empty());
    EXPECT_TRUE(desktop.systemMessages.empty());
}

TEST_F(Listing, CancelWritesNothing) {
    makeLib();
    print("C:\\Lib", true, "");
    EXPECT_FALSE(c.exists("out/list.txt"));
    EXPECT_TRUE(desktop.msgBoxes.empty());
    EXPECT_TRUE(desktop.systemMessages.empty());
}

TEST_F(Listing, ExistingFileIsReplaced) {
    c.createFile("out/list.txt", std::string(1000, 'x'));
    c.createDir("Lib");
    print("C:\\Lib", false);
    EXPECT_EQ(c.readBytes("out/list.txt"),
              "Folder Listing for: C:\\Lib\r\n\r\n(no folders or files found in this folder)\r\n");
}

TEST_F(Listing, UnwritableTargetIsReported) {
    c.createDir("Lib");
    print("C:\\Lib", false, "missing/list.txt");
    ASSERT_EQ(desktop.msgBoxes.size(), 1u);
    EXPECT_EQ(desktop.msgBoxes[0].prompt, kDriveMessage);
    EXPECT_FALSE(desktop.busy());
}

struct KindCase {
    const char* name;
    bool system;
};

class ListingSystemTest : public ::testing::TestWithParam<KindCase> {};

TEST_P(ListingSystemTest, CaseSensitiveTailInTheList) {
    EXPECT_EQ(IsListedAsSystemFile(GetParam().name), GetParam().system);
}

INSTANTIATE_TEST_SUITE_P(Fileops, ListingSystemTest,
                         ::testing::Values(KindCase{"setup.exe", true},
                                           KindCase{"SETUP.EXE", false}, KindCase{"dll", true},
                                           KindCase{"x.exec", false}, KindCase{"drv.bat", true},
                                           KindCase{"readme.txt", false}));

}  // namespace
}  // namespace bw::test
