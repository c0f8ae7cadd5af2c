#include "app/Desktop.h"
#include "fileops/FileopsFixture.h"
#include "fileops/PrintContentOfNode.h"

namespace bw::test {
namespace {

// C:\Lib: Empty (empty), Geo (a.obj), readme.txt, setup.exe; C:\Deep: A\B\c.txt and Z, which cannot
// be read; C:\Sys: SETUP.EXE, dll, x.exec; C:\Nothing empty. chosen: the file the save dialog
// answers ("" when cancelled); listing: what follows the header and the empty line, "\n" between.
struct ListingCase {
    const char *what, *folder;
    bool subFolders, descending;
    const char *chosen, *listing;
};

const char* const kOld = "old contents, longer than the new ones would be";
const ListingCase kListingCases[] = {
    {"WholeTree", "C:\\Lib", true, false, "out.txt",
     "+Empty (Folder)\n|(no folders or files found in this folder)\n+Geo (Folder)\n|-a.obj "
     "(File)\n-readme.txt (File)\n-setup.exe (System File)\n"},
    {"OwnEntriesInFileSystemOrder", "C:\\Lib", false, true, "out.txt",
     "+Geo (Folder)\n+Empty (Folder)\n-setup.exe (System File)\n-readme.txt (File)\n"},
    {"DeeperLevelsAndAnUnreadableFolder", "C:\\Deep", true, false, "out.txt",
     "+A (Folder)\n|+B (Folder)\n||-c.txt (File)\n+Z (Folder)\n"},
    {"EmptyFolder", "C:\\Nothing", true, false, "out.txt",
     "(no folders or files found in this folder)\n"},
    {"SystemTestKeepsCase", "C:\\Sys", false, false, "out.txt",
     "-SETUP.EXE (File)\n-dll (System File)\n-x.exec (File)\n"},
    {"Drive", "C:", false, false, "out.txt",
     "+Deep (Folder)\n+Lib (Folder)\n+Nothing (Folder)\n+Sys (Folder)\n-out.txt (File)\n"},
    {"Cancelled", "C:\\Lib", true, false, "", nullptr},
    {"Unwritable", "C:\\Lib", true, false, "missing/out.txt", nullptr},
};

class Listing : public FileopsFixture, public ::testing::WithParamInterface<ListingCase> {};

TEST_P(Listing, ByteForByte) {
    const ListingCase& tc = GetParam();
    for (const char* f : {"Lib/Geo/a.obj", "Lib/readme.txt", "Lib/setup.exe", "Deep/A/B/c.txt",
                          "Sys/SETUP.EXE", "Sys/dll", "Sys/x.exec"})
        c.createFile(f);
    for (const char* d : {"Lib/Empty", "Deep/Z", "Nothing"}) c.createDir(d);
    c.createFile("out.txt", kOld);
    fs->descending = tc.descending;
    fs->unreadableFolder = "C:\\Deep\\Z";
    app->CurrentNode = NodeHandle(reveal(tc.folder));
    app->PrintSubFolders = tc.subFolders;
    desktop.saveFileAnswers = {*tc.chosen ? onC(tc.chosen) : ""};

    PrintContentOfNode(*app);

    EXPECT_EQ(c.readBytes("out.txt"), tc.listing ? ReplaceAll(std::string("Folder Listing for: ") +
                                                                  tc.folder + "\n\n" + tc.listing,
                                                              "\n", "\r\n")
                                                 : kOld);
    EXPECT_EQ(desktop.chooserTitles, std::vector<std::string>{"Save Listing As..."});
    EXPECT_EQ(errorsShown(), tc.listing || !*tc.chosen ? 0u : 1u);
    EXPECT_FALSE(c.exists("missing"));
    EXPECT_FALSE(desktop.busy());
}

INSTANTIATE_TEST_SUITE_P(Fileops, Listing, ::testing::ValuesIn(kListingCases), ByWhat);

}  // namespace
}  // namespace bw::test
