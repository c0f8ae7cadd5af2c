#include "core/Desktop.h"
#include "fileops/FileopsFixture.h"
#include "fileops/PrintContentOfNode.h"

namespace bw::test {
namespace {

// C:\Lib: Empty (empty), Geo (a.obj), readme.txt, setup.exe; C:\Deep: A\B\c.txt and Z, which cannot
// be read; C:\Sys: SETUP.EXE, dll, x.exec; C:\Odd: names holding a "\" and keep.txt. chosen: the
// file the save dialog answers ("" when cancelled), beside out.txt and report.txt; listing: what
// follows the header and the empty line, "\n" between.
struct ListingCase {
    const char *what, *folder;
    bool subFolders;
    const char *chosen, *listing;
};

const char* const kOld = "old contents, longer than the new ones would be";
const ListingCase kListingCases[] = {
    {"WholeTree", "C:\\Lib", true, "out.txt",
     "+Empty (Folder)\n|(no folders or files found in this folder)\n+Geo (Folder)\n|-a.obj "
     "(File)\n-readme.txt (File)\n-setup.exe (System File)\n"},
    {"DeeperLevelsAndAnUnreadableFolder", "C:\\Deep", true, "out.txt",
     "+A (Folder)\n|+B (Folder)\n||-c.txt (File)\n+Z (Folder)\n"},
    {"SystemTestKeepsCase", "C:\\Sys", false, "out.txt",
     "-SETUP.EXE (File)\n-dll (System File)\n-x.exec (File)\n"},
    {"Cancelled", "C:\\Lib", true, "", nullptr},
    {"Unwritable", "C:\\Lib", true, "missing/out.txt", nullptr},
    {"NewNameBesideItsCaseTwin", "C:\\Sys", false, "Report.txt",
     "-SETUP.EXE (File)\n-dll (System File)\n-x.exec (File)\n"},
    {"NameNoWindowsPathCarries", "C:\\Sys", false, "Sub\\out.txt", nullptr},
    // "a\.." would lead back into Odd itself, over and over.
    {"BackslashNamesLeftOut", "C:\\Odd", true, "out.txt", "-keep.txt (File)\n"},
};

class Listing : public FileopsFixture, public ::testing::WithParamInterface<ListingCase> {};

TEST_P(Listing, ByteForByte) {
    const ListingCase& tc = GetParam();
    for (const char* f :
         {"Lib/Geo/a.obj", "Lib/readme.txt", "Lib/setup.exe", "Deep/A/B/c.txt", "Sys/SETUP.EXE",
          "Sys/dll", "Sys/x.exec", "Odd/a\\../b.txt", "Odd/sub\\victim.txt", "Odd/keep.txt"})
        c.createFile(f);
    for (const char* d : {"Lib/Empty", "Deep/Z"}) c.createDir(d);
    for (const char* f : {"out.txt", "report.txt", "Sub/out.txt"}) c.createFile(f, kOld);
    fs->failOn["ListFolder:C:\\Deep\\Z"] = err::kPermissionDenied;
    app->CurrentNode = NodeHandle(reveal(tc.folder));
    app->PrintSubFolders = tc.subFolders;
    desktop.saveFileAnswers = {*tc.chosen ? onC(tc.chosen) : ""};

    PrintContentOfNode(*app);

    EXPECT_EQ(c.readBytes(tc.listing ? tc.chosen : "out.txt"),
              tc.listing ? ReplaceAll(std::string("Folder Listing for: ") + tc.folder + "\n\n" +
                                          tc.listing,
                                      "\n", "\r\n")
                         : kOld);
    EXPECT_EQ(desktop.chooserTitles, std::vector<std::string>{"Save Listing As..."});
    EXPECT_EQ(errorsShown(), tc.listing || !*tc.chosen ? 0u : 1u);
    EXPECT_FALSE(c.exists("missing"));
    for (const char* f : {"report.txt", "Sub/out.txt"}) EXPECT_EQ(c.readBytes(f), kOld);
    EXPECT_FALSE(desktop.busy());
}

INSTANTIATE_TEST_SUITE_P(Fileops, Listing, ::testing::ValuesIn(kListingCases), ByWhat);

}  // namespace
}  // namespace bw::test
