#include "core/Desktop.h"
#include "fileops/CopyThisNode.h"
#include "fileops/CutThisNode.h"
#include "fileops/FileopsFixture.h"
#include "fileops/PasteThisFile.h"
#include "support/TreeLayout.h"

namespace bw::test {
namespace {

// C:\A holds dog.cr2 with its thumbnail and Folder\Inner\x.obj; C:\B an older dog.cr2;
// C:\C nothing; `more` adds entries (see MakeEntries). The thumbnail is cut first, so every case
// replaces an earlier item. after: "C: relative path=bytes", ";" between, no bytes for absent.
// refused: refused and reported. refill: the source's folder is listed again before the paste.
// diskFullAt: the step of the copy at which the disk fills up.
struct PasteCase {
    const char *what, *source, *target, *after;
    bool cut;
    bool refused = false;
    int renameError = 0;
    const char* diskFullAt = "";
    bool refill = false;
    const char* more = "";
};

const PasteCase kPasteCases[] = {
    {"CopyFile", "dog.cr2", "C:\\C", "A/dog.cr2=new;C/dog.cr2=new;C/dog.png=", false},
    {"CopyReplaces", "dog.cr2", "C:\\B", "A/dog.cr2=new;B/dog.cr2=new", false},
    {"MoveRefusedOntoAName", "dog.cr2", "C:\\B", "A/dog.cr2=new;B/dog.cr2=old", true, true},
    {"MoveLeavesTheThumbnailAfterARefill", "dog.cr2", "C:\\C",
     "A/dog.cr2=;A/dog.png=thumb;C/dog.cr2=new", true, false, 0, "", true},
    {"MoveFolder", "Folder", "C:\\C", "A/Folder=;C/Folder/Inner/x.obj=geo", true},
    {"CopyIntoItsOwnFolder", "dog.cr2", "C:\\A", "A/dog.cr2=new", false, true},
    {"FolderIntoItself", "Folder", "C:\\A\\Folder", "A/Folder/Folder=;A/Folder/Inner/x.obj=geo",
     false, true},
    {"FolderIntoItsSubFolder", "Folder", "C:\\A\\Folder\\Inner",
     "A/Folder/Inner/Folder=;A/Folder/Inner/x.obj=geo", true, true},
    {"FolderAcrossDrives", "Folder", "C:\\C", "A/Folder=;C/Folder/Inner/x.obj=geo", true, false,
     err::kRenameAcrossDrives},
    {"DiskFullAcrossDrives", "Folder", "C:\\C", "A/Folder/Inner/x.obj=geo;C/Folder=", true, true,
     err::kRenameAcrossDrives, "Write"},
    // The old file survives a copy that runs out of room, and no part of the new one is left.
    {"DiskFullOverAFile", "dog.cr2", "C:\\B", "A/dog.cr2=new;B/dog.cr2=old", false, true, 0,
     "Write"},
    {"DiskFullAtTheRename", "dog.cr2", "C:\\C", "A/dog.cr2=new;C/dog.cr2=", false, true, 0,
     "Commit"},
    // Links in the target into the source are replaced, never written through.
    {"CopyOntoALinkIntoTheSource", "Folder", "C:\\B",
     "A/Folder/Inner/x.obj=geo;B/Folder/Inner/x.obj=geo", false, false, 0, "", false,
     "B/Folder/Inner/x.obj@A/Folder/Inner/x.obj"},
    {"CopyOntoAHardLinkToTheSource", "Folder", "C:\\B",
     "A/Folder/Inner/x.obj=geo;B/Folder/Inner/x.obj=geo", false, false, 0, "", false,
     "B/Folder/Inner/x.obj#A/Folder/Inner/x.obj"},
    // A pipe or socket in a folder refuses its copy or move at once; nothing is made.
    {"CopyFolderHoldingAPipe", "Folder", "C:\\C", "A/Folder/Inner/x.obj=geo;C/Folder=", false, true,
     0, "", false, "A/Folder/Inner/pipe|fifo"},
    {"MoveFolderHoldingASocketAcrossDrives", "Folder", "C:\\C",
     "A/Folder/Inner/x.obj=geo;C/Folder=", true, true, err::kRenameAcrossDrives, "", false,
     "A/Folder/sock|socket"},
};

class PasteFlows : public FileopsFixture, public ::testing::WithParamInterface<PasteCase> {};

TEST_P(PasteFlows, MovesOrCopiesOnlyWhatIsSafe) {
    const PasteCase& tc = GetParam();
    for (const auto& f :
         Split("A/dog.cr2=new;A/dog.png=thumb;A/Folder/Inner/x.obj=geo;B/dog.cr2=old", ';'))
        c.createFile(Split(f, '=')[0], Split(f, '=')[1]);
    c.createDir("C");
    MakeEntries(c, tc.more);
    NodeHandle target(reveal(tc.target));
    app->CurrentNode = NodeHandle(reveal("C:\\A\\dog.png"));
    CutThisNode(*app);
    app->CurrentNode = NodeHandle(reveal(std::string("C:\\A\\") + tc.source));
    tc.cut ? CutThisNode(*app) : CopyThisNode(*app);
    if (tc.refill) ExpandNode(*app, *reveal("C:\\A"));
    app->CurrentNode = target;
    fs->failOn["Rename"] = tc.renameError;
    if (*tc.diskFullAt) fs->failOn[std::string("Staged:") + tc.diskFullAt] = err::kDiskFull;

    PasteThisFile(*app);

    for (const auto& item : Split(tc.after, ';')) {
        const auto kv = Split(item, '=');
        EXPECT_EQ(kv[1].empty() ? !c.exists(kv[0]) : c.readBytes(kv[0]) == kv[1], true) << item;
    }
    for (const auto& [path, kind] : Snapshot(c.path()))
        EXPECT_NE(std::filesystem::path(path).filename().string().front(), '.') << path;
    EXPECT_EQ(errorsShown(), tc.refused ? 1u : 0u);
    EXPECT_EQ(app->ClipboardPath, tc.refused ? "C:\\A\\" + std::string(tc.source) : "");
    EXPECT_EQ(app->commands.IsEnabled("Paste") && app->commands.IsEnabled("mnuPaste"), tc.refused);
    EXPECT_EQ(childNamed(reveal("C:\\A"), tc.source) != nullptr, !tc.cut || tc.refused);
    EXPECT_EQ(childNamed(target.get(), tc.source) && target->expanded(), !tc.refused);
    // A move is announced while references still lead to the item, followed up once it is done.
    EXPECT_EQ(usage.movesFollowedUp, tc.cut && !tc.refused ? 1 : 0);
    if (tc.cut && !tc.refused) {
        const std::string into = Split(tc.target, '\\').back();
        EXPECT_EQ(usage.prepared, std::vector<std::string>{c.host(std::string("A/") + tc.source) +
                                                           " > " + c.host(into + "/" + tc.source)});
    }
}

INSTANTIATE_TEST_SUITE_P(Fileops, PasteFlows, ::testing::ValuesIn(kPasteCases), ByWhat);

}  // namespace
}  // namespace bw::test
