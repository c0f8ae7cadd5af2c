#include "app/Desktop.h"
#include "app/ReportError.h"
#include "fileops/FileopsFixture.h"
#include "fileops/PrintContentOfNode.h"

namespace bw::test {
namespace {

struct ListingCase {
    const char* what;
    const char* folder;
    bool subFolders;
    bool descending;  // the file system's own order, never sorted
    const char* unreadable;
    const char* expected;
};

// C:\Lib: Empty (empty), Geo (a.obj), readme.txt, setup.exe, SETUP.EXE, dll, x.exec;
// C:\Deep\A\B\c.txt.
class Listing : public FileopsFixture, public ::testing::WithParamInterface<ListingCase> {};

TEST_P(Listing, ByteForByte) {
    const ListingCase& tc = GetParam();
    for (const char* f : {"Lib/Geo/a.obj", "Lib/readme.txt", "Lib/setup.exe", "Deep/A/B/c.txt",
                          "Sys/SETUP.EXE", "Sys/dll", "Sys/x.exec"})
        c.createFile(f);
    c.createDir("Lib/Empty");
    c.createDir("Nothing");
    fs->descending = tc.descending;
    fs->unreadableFolder = tc.unreadable;
    select(tc.folder);
    app->PrintSubFolders = tc.subFolders;
    desktop.saveFileAnswers = {
        c.createFile("out.txt", "old contents, longer than the new ones would be")};

    PrintContentOfNode(*app);

    EXPECT_EQ(c.readBytes("out.txt"), tc.expected);
    EXPECT_EQ(desktop.chooserTitles, std::vector<std::string>{"Save Listing As..."});
    EXPECT_EQ(errorsShown(), 0u);
    EXPECT_FALSE(desktop.busy());
}

INSTANTIATE_TEST_SUITE_P(
    Fileops, Listing,
    ::testing::Values(ListingCase{"whole tree", "C:\\Lib", true, false, "",
                                  "Folder Listing for: C:\\Lib\r\n\r\n+Empty (Folder)\r\n|(no "
                                  "folders or files found in this "
                                  "folder)\r\n+Geo (Folder)\r\n|-a.obj (File)\r\n-readme.txt "
                                  "(File)\r\n-setup.exe (System File)\r\n"},
                      ListingCase{"own entries in file system order", "C:\\Lib", false, true, "",
                                  "Folder Listing for: C:\\Lib\r\n\r\n+Geo (Folder)\r\n+Empty "
                                  "(Folder)\r\n-setup.exe (System "
                                  "File)\r\n-readme.txt (File)\r\n"},
                      ListingCase{"deeper levels", "C:\\Deep", true, false, "",
                                  "Folder Listing for: C:\\Deep\r\n\r\n+A (Folder)\r\n|+B "
                                  "(Folder)\r\n||-c.txt (File)\r\n"},
                      ListingCase{"empty folder", "C:\\Nothing", true, false, "",
                                  "Folder Listing for: C:\\Nothing\r\n\r\n(no folders or files "
                                  "found in this folder)\r\n"},
                      ListingCase{"system test keeps case", "C:\\Sys", false, false, "",
                                  "Folder Listing for: C:\\Sys\r\n\r\n-SETUP.EXE (File)\r\n-dll "
                                  "(System File)\r\n-x.exec (File)\r\n"},
                      ListingCase{"unreadable folder is left out silently", "C:\\Lib", true, false,
                                  "C:\\Lib\\Empty",
                                  "Folder Listing for: C:\\Lib\r\n\r\n+Empty (Folder)\r\n+Geo "
                                  "(Folder)\r\n|-a.obj (File)\r\n"
                                  "-readme.txt (File)\r\n-setup.exe (System File)\r\n"},
                      ListingCase{"drive", "C:", false, false, "",
                                  "Folder Listing for: C:\r\n\r\n+Deep (Folder)\r\n+Lib "
                                  "(Folder)\r\n+Nothing (Folder)\r\n+Sys "
                                  "(Folder)\r\n-out.txt (File)\r\n"}),
    [](const auto& info) { return CaseName(info.param.what); });

TEST_F(FileopsFixture, ListingCancelledOrUnwritable) {
    c.createDir("Lib");
    select("C:\\Lib");
    desktop.saveFileAnswers = {"", onC("missing/out.txt")};
    PrintContentOfNode(*app);
    EXPECT_EQ(errorsShown(), 0u);
    PrintContentOfNode(*app);
    ASSERT_EQ(desktop.msgBoxes.size(), 1u);
    EXPECT_EQ(desktop.msgBoxes[0].prompt, kDriveMessage);
    EXPECT_FALSE(desktop.busy());
    EXPECT_FALSE(c.exists("missing"));
}

}  // namespace
}  // namespace bw::test
