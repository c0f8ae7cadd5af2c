#include "app/Desktop.h"
#include "fileops/CopyThisNode.h"
#include "fileops/CutThisNode.h"
#include "fileops/FileopsFixture.h"
#include "fileops/PasteThisFile.h"

namespace bw::test {
namespace {

struct PasteCase {
    const char* what;
    bool cut;
    const char* source;
    const char* target;
    const char* after;  // "C: relative path=bytes" separated by ";", no bytes: absent
    bool fails = false;
    int renameError = 0, copyError = 0;
};

// C:\A holds dog.cr2 with its thumbnail and Folder\Inner\x.obj; C:\B an older dog.cr2; C:\C
// nothing.
class PasteFlows : public FileopsFixture, public ::testing::WithParamInterface<PasteCase> {};

TEST_P(PasteFlows, MovesOrCopiesOnlyWhatIsSafe) {
    const PasteCase& tc = GetParam();
    for (const char* f :
         {"A/dog.cr2=new", "A/dog.png=thumb", "A/Folder/Inner/x.obj=geo", "B/dog.cr2=old"}) {
        const auto kv = Split(f, '=');
        c.createFile(kv[0], kv[1]);
    }
    c.createDir("C");
    NodeHandle target(reveal(tc.target));
    select(tc.source);
    tc.cut ? CutThisNode(*app) : CopyThisNode(*app);
    app->CurrentNode = target;
    fs->renameError = tc.renameError;
    fs->copyError = tc.copyError;

    PasteThisFile(*app);

    for (const auto& item : Split(tc.after, ';')) {
        const auto kv = Split(item, '=');
        EXPECT_EQ(kv[1].empty() ? !c.exists(kv[0]) : c.readBytes(kv[0]) == kv[1], true) << item;
    }
    EXPECT_EQ(errorsShown(), tc.fails ? 1u : 0u);
    EXPECT_EQ(app->ClipboardPath, tc.fails ? tc.source : "");
    EXPECT_EQ(app->commands.IsEnabled("Paste") && app->commands.IsEnabled("mnuPaste"), tc.fails);
    EXPECT_EQ(shown(tc.source), !tc.cut || tc.fails);
    const std::string name = std::string(tc.source).substr(std::string(tc.source).rfind('\\') + 1);
    EXPECT_EQ(childNamed(target.get(), name) && target->expanded(), !tc.fails);
}

INSTANTIATE_TEST_SUITE_P(
    Fileops, PasteFlows,
    ::testing::Values(
        PasteCase{"copy file", false, "C:\\A\\dog.cr2", "C:\\C", "A/dog.cr2=new;C/dog.cr2=new"},
        PasteCase{"copy replaces", false, "C:\\A\\dog.cr2", "C:\\B", "A/dog.cr2=new;B/dog.cr2=new"},
        PasteCase{"move refused onto a name", true, "C:\\A\\dog.cr2", "C:\\B",
                  "A/dog.cr2=new;B/dog.cr2=old", true},
        PasteCase{"move leaves the thumbnail", true, "C:\\A\\dog.cr2", "C:\\C",
                  "A/dog.cr2=;C/dog.cr2=new;C/dog.png="},
        PasteCase{"move folder", true, "C:\\A\\Folder", "C:\\C",
                  "A/Folder=;C/Folder/Inner/x.obj=geo"},
        PasteCase{"file onto itself", false, "C:\\A\\dog.cr2", "C:\\A\\dog.cr2", "A/dog.cr2=new",
                  true},
        PasteCase{"copy into its own folder", false, "C:\\A\\dog.cr2", "C:\\A", "A/dog.cr2=new",
                  true},
        PasteCase{"folder into its own folder", false, "C:\\A\\Folder", "C:\\A",
                  "A/Folder/Inner/x.obj=geo", true},
        PasteCase{"folder into itself", false, "C:\\A\\Folder", "C:\\A\\Folder",
                  "A/Folder/Folder=", true},
        PasteCase{"folder into its sub folder", true, "C:\\A\\Folder", "C:\\A\\Folder\\Inner",
                  "A/Folder/Inner/Folder=;A/Folder/Inner/x.obj=geo", true},
        PasteCase{"folder across drives", true, "C:\\A\\Folder", "C:\\C",
                  "A/Folder=;C/Folder/Inner/x.obj=geo", false, err::kRenameAcrossDrives},
        PasteCase{"disk full across drives", true, "C:\\A\\Folder", "C:\\C",
                  "A/Folder/Inner/x.obj=geo;C/Folder=", true, err::kRenameAcrossDrives,
                  err::kDiskFull}),
    [](const auto& info) { return CaseName(info.param.what); });

TEST_F(FileopsFixture, CutNodeIsFoundAgainAfterItsFolderWasRefilled) {
    c.createFile("A/dog.cr2", "x");
    c.createDir("B");
    select("C:\\A\\dog.cr2");
    CutThisNode(*app);
    ExpandNode(*app, *reveal("C:\\A"));
    ASSERT_FALSE(app->ClipboardNode.get());
    select("C:\\B");

    PasteThisFile(*app);

    EXPECT_TRUE(c.exists("B/dog.cr2"));
    EXPECT_FALSE(shown("C:\\A\\dog.cr2"));
}

// System items may be copied; cut while protected they leave nothing to paste, so an earlier item
// can never be moved in their stead.
TEST_F(FileopsFixture, ClipboardRecordsOnlyWhatMayBePasted) {
    c.createFile("A/dog.cr2");
    c.createFile("A/setup.exe");
    const struct {
        bool cut, protect, recorded;
    } cases[] = {{false, true, true}, {true, true, false}, {true, false, true}};
    for (const auto& tc : cases) {
        app->settings.ProtectSystemFilesFolders = tc.protect;
        select("C:\\A\\dog.cr2");
        CutThisNode(*app);
        select("C:\\A\\setup.exe");
        tc.cut ? CutThisNode(*app) : CopyThisNode(*app);
        EXPECT_EQ(app->ClipboardPath, tc.recorded ? "C:\\A\\setup.exe" : "")
            << tc.cut << tc.protect;
        EXPECT_EQ(app->commands.IsEnabled("Paste"), tc.recorded);
    }
}

}  // namespace
}  // namespace bw::test
