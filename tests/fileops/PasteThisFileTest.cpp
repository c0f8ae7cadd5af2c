#include "app/Desktop.h"
#include "app/ReportError.h"
#include "browser/TreePopulation.h"
#include "fileops/Clipboard.h"
#include "fileops/CopyThisNode.h"
#include "fileops/CutThisNode.h"
#include "fileops/FileopsFixture.h"
#include "fileops/PasteThisFile.h"

namespace bw::test {
namespace {

struct PasteCase {
    const char* what;
    bool cut;
    const char* source;                                      // full path of the item cut or copied
    const char* target;                                      // full path of the folder pasted into
    std::vector<std::pair<std::string, std::string>> after;  // C: relative path -> bytes; "" absent
    bool fails;
};

// C:\A holds dog.cr2 (with its thumbnail) and Folder\Inner\x.obj; C:\B holds an older dog.cr2.
class PasteFlows : public FileopsFixture, public ::testing::WithParamInterface<PasteCase> {
  protected:
    void SetUp() override {
        c.createFile("A/dog.cr2", "new");
        c.createFile("A/dog.png", "thumb");
        c.createFile("A/Folder/Inner/x.obj", "geo");
        c.createFile("B/dog.cr2", "old");
        c.createDir("C");
    }
};

TEST_P(PasteFlows, MovesOrCopiesAndKeepsTheClipboardOnFailure) {
    const PasteCase& tc = GetParam();
    ASSERT_TRUE(reveal(tc.target));
    ASSERT_TRUE(select(tc.source));
    tc.cut ? CutThisNode(*app) : CopyThisNode(*app);
    EXPECT_TRUE(app->commands.IsEnabled("Paste"));
    Node* target = select(tc.target);
    ASSERT_TRUE(target);
    NodeHandle targetHandle(target);

    PasteThisFile(*app);

    for (const auto& [path, bytes] : tc.after) {
        if (bytes.empty())
            EXPECT_FALSE(c.exists(path)) << path;
        else
            EXPECT_EQ(c.readBytes(path), bytes) << path;
    }
    const std::string name =
        std::string(tc.source).substr(std::string(tc.source).find_last_of('\\') + 1);
    if (tc.fails) {
        EXPECT_EQ(desktop.msgBoxes.size() + desktop.systemMessages.size(), 1u);
        EXPECT_EQ(app->ClipboardPath, tc.source);
        EXPECT_TRUE(app->commands.IsEnabled("Paste"));
        EXPECT_TRUE(shown(tc.source));
    } else {
        EXPECT_TRUE(desktop.msgBoxes.empty());
        EXPECT_TRUE(desktop.systemMessages.empty());
        EXPECT_TRUE(app->ClipboardPath.empty());
        EXPECT_FALSE(app->commands.IsEnabled("Paste"));
        EXPECT_FALSE(app->commands.IsEnabled("mnuPaste"));
        EXPECT_NE(childNamed(targetHandle.get(), name), nullptr);
        EXPECT_TRUE(targetHandle->expanded());
        if (tc.cut) {
            EXPECT_FALSE(shown(tc.source));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Fileops, PasteFlows,
    ::testing::Values(
        PasteCase{"copy file",
                  false,
                  "C:\\A\\dog.cr2",
                  "C:\\C",
                  {{"A/dog.cr2", "new"}, {"C/dog.cr2", "new"}},
                  false},
        PasteCase{"copy replaces",
                  false,
                  "C:\\A\\dog.cr2",
                  "C:\\B",
                  {{"A/dog.cr2", "new"}, {"B/dog.cr2", "new"}},
                  false},
        PasteCase{"move refused onto a name",
                  true,
                  "C:\\A\\dog.cr2",
                  "C:\\B",
                  {{"A/dog.cr2", "new"}, {"B/dog.cr2", "old"}},
                  true},
        PasteCase{
            "move file leaves the thumbnail",
            true,
            "C:\\A\\dog.cr2",
            "C:\\C",
            {{"A/dog.cr2", ""}, {"C/dog.cr2", "new"}, {"A/dog.png", "thumb"}, {"C/dog.png", ""}},
            false},
        PasteCase{"move folder with contents",
                  true,
                  "C:\\A\\Folder",
                  "C:\\C",
                  {{"A/Folder", ""}, {"C/Folder/Inner/x.obj", "geo"}},
                  false},
        PasteCase{"copy folder",
                  false,
                  "C:\\A\\Folder",
                  "C:",
                  {{"A/Folder/Inner/x.obj", "geo"}, {"Folder/Inner/x.obj", "geo"}},
                  false},
        PasteCase{"file onto itself",
                  false,
                  "C:\\A\\dog.cr2",
                  "C:\\A\\dog.cr2",
                  {{"A/dog.cr2", "new"}},
                  true},
        PasteCase{"copy file into its own folder",
                  false,
                  "C:\\A\\dog.cr2",
                  "C:\\A",
                  {{"A/dog.cr2", "new"}},
                  true},
        PasteCase{"copy folder into its own folder",
                  false,
                  "C:\\A\\Folder",
                  "C:\\A",
                  {{"A/Folder/Inner/x.obj", "geo"}},
                  true},
        PasteCase{"copy folder into itself",
                  false,
                  "C:\\A\\Folder",
                  "C:\\A\\Folder",
                  {{"A/Folder/Folder", ""}, {"A/Folder/Inner/x.obj", "geo"}},
                  true},
        PasteCase{"move folder into its sub folder",
                  true,
                  "C:\\A\\Folder",
                  "C:\\A\\Folder\\Inner",
                  {{"A/Folder/Inner/Folder", ""}, {"A/Folder/Inner/x.obj", "geo"}},
                  true}),
    [](const auto& info) { return CaseName(info.param.what); });

TEST_F(FileopsFixture, PasteAfterTheSourceVanishedKeepsTheClipboard) {
    c.createFile("A/dog.cr2", "x");
    c.createDir("B");
    select("C:\\A\\dog.cr2");
    CopyThisNode(*app);
    std::filesystem::remove(onC("A/dog.cr2"));
    select("C:\\B");

    PasteThisFile(*app);

    EXPECT_EQ(desktop.systemMessages.size(), 1u);
    EXPECT_FALSE(c.exists("B/dog.cr2"));
    EXPECT_EQ(app->ClipboardPath, "C:\\A\\dog.cr2");
}

TEST_F(FileopsFixture, CutNodeIsFoundAgainAfterItsFolderWasRefilled) {
    c.createFile("A/dog.cr2", "x");
    c.createDir("B");
    select("C:\\A\\dog.cr2");
    CutThisNode(*app);
    ExpandNode(*app,
               *reveal("C:\\A"));  // a refresh: the node that was cut is replaced by a new one
    ASSERT_FALSE(app->ClipboardNode.get());
    ASSERT_TRUE(shown("C:\\A\\dog.cr2"));
    select("C:\\B");

    PasteThisFile(*app);

    EXPECT_TRUE(c.exists("B/dog.cr2"));
    EXPECT_FALSE(shown("C:\\A\\dog.cr2"));
}

// System items may be copied; cutting them while they are protected leaves nothing to paste, so
// an earlier item can never be moved in their stead.
struct RecordCase {
    const char* what;
    bool cut;
    bool protect;
    bool recorded;
};

class ClipboardRecording : public FileopsFixture,
                           public ::testing::WithParamInterface<RecordCase> {};

TEST_P(ClipboardRecording, RecordsOnlyWhatMayBePasted) {
    const RecordCase& tc = GetParam();
    c.createFile("A/dog.cr2");
    c.createFile("A/setup.exe");
    app->settings.ProtectSystemFilesFolders = tc.protect;
    select("C:\\A\\dog.cr2");
    CutThisNode(*app);
    Node* sys = select("C:\\A\\setup.exe");
    ASSERT_EQ(sys->tag(), tag::kSystemFile);

    tc.cut ? CutThisNode(*app) : CopyThisNode(*app);

    EXPECT_EQ(app->ClipboardPath, tc.recorded ? "C:\\A\\setup.exe" : "");
    EXPECT_EQ(app->commands.IsEnabled("Paste"), tc.recorded);
    EXPECT_EQ(app->commands.IsEnabled("mnuPaste"), tc.recorded);
    if (tc.recorded) {
        EXPECT_EQ(app->ClipboardIsCut, tc.cut);
    }
}

INSTANTIATE_TEST_SUITE_P(Fileops, ClipboardRecording,
                         ::testing::Values(RecordCase{"copy protected", false, true, true},
                                           RecordCase{"cut protected", true, true, false},
                                           RecordCase{"cut unprotected", true, false, true}),
                         [](const auto& info) { return CaseName(info.param.what); });

// Another drive: the rename answers 74, so the item is copied, checked and only then removed.
struct AcrossCase {
    const char* what;
    const char* source;
    int copyError;
    bool moved;
};

class MoveAcrossDrivesFlows : public FailingFileopsFixture,
                              public ::testing::WithParamInterface<AcrossCase> {};

TEST_P(MoveAcrossDrivesFlows, SourceGoesOnlyAfterACompleteCopy) {
    const AcrossCase& tc = GetParam();
    c.createFile("A/dog.cr2", "bytes");
    c.createFile("A/Folder/Inner/x.obj", "geo");
    c.createDir("B");
    select(tc.source);
    CutThisNode(*app);
    select("C:\\B");
    fs->renameError = err::kRenameAcrossDrives;
    fs->copyError = tc.copyError;

    PasteThisFile(*app);

    const bool folder = std::string(tc.source).find("Folder") != std::string::npos;
    const std::string moved = folder ? "Folder/Inner/x.obj" : "dog.cr2";
    EXPECT_EQ(c.exists("A/" + moved), !tc.moved);
    EXPECT_EQ(c.exists("B/" + moved), tc.moved);
    EXPECT_FALSE(c.exists(folder ? "B/Folder" : "B/dog.cr2") && !tc.moved)
        << "partial copy left behind";
    if (tc.moved) {
        EXPECT_EQ(c.readBytes("B/" + moved), folder ? "geo" : "bytes");
    }
    EXPECT_EQ(app->ClipboardPath.empty(), tc.moved);
}

INSTANTIATE_TEST_SUITE_P(
    Fileops, MoveAcrossDrivesFlows,
    ::testing::Values(AcrossCase{"file", "C:\\A\\dog.cr2", 0, true},
                      AcrossCase{"folder", "C:\\A\\Folder", 0, true},
                      AcrossCase{"file disk full", "C:\\A\\dog.cr2", err::kDiskFull, false},
                      AcrossCase{"folder disk full", "C:\\A\\Folder", err::kDiskFull, false}),
    [](const auto& info) { return CaseName(info.param.what); });

}  // namespace
}  // namespace bw::test
