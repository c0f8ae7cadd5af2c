#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>

#include "core/ReportError.h"
#include "core/TreePopulation.h"
#include "references/FindReferencingFiles.h"
#include "references/SearchThroughFilesForFile.h"
#include "support/AppFixture.h"
#include "support/FailingFileSystem.h"

namespace bw {
namespace {

const std::string kFoundLib = "Found in: C:\\Poser4\\Runtime\\Libraries\\";
constexpr const char* kReferencedBy = "This file is referenced by:|Reference|ClosedFolder";
constexpr const char* kStopped = "<<Scan process stopped before completion>>|Unable|Unable";
const std::string kFileSkipped =
    "(Scan incomplete: 1 file could not be read, so other files may reference this one too.)";
using Lines = std::vector<std::string>;

class FindReferencingFilesTest : public test::AppFixture {
  protected:
    FindReferencingFilesTest() : failing(test::InstallFailingFileSystem(*app)) {
        app->settings.Runtime = "C:\\Poser4\\Runtime";
        c.createFile("Poser4/Runtime/Geometries/foo.obj", "v 1 2 3\n");
    }
    void lib(const std::string& relative, const std::string& bytes = "foo.obj") {
        c.createFile("Poser4/Runtime/Libraries/" + relative, bytes);
    }
    // Scans for foo.obj from a fresh listing of its folder; answers the container line.
    NodeHandle scan() {
        ExpandNode(*app, *expandTo("C:\\Poser4\\Runtime\\Geometries"));
        line = NodeHandle(expandTo("C:\\Poser4\\Runtime\\Geometries\\foo.obj")->child(0));
        FindReferencingFiles(*app, *line.get());
        return line;
    }
    // The node as "text|tag|image", then its children's texts, sorted.
    static Lines Described(const NodeHandle& n) {
        Lines out{n->text() + "|" + n->tag() + "|" + n->image()};
        for (const auto& ch : n->children()) out.push_back(ch->text());
        std::sort(out.begin() + 1, out.end());
        return out;
    }
    test::FailingFileSystem* failing;  // owned by app
    NodeHandle line;
};

TEST_F(FindReferencingFilesTest, ListsEachMentioningFileOnceWhateverItsCaseOrKind) {
    lib("character/Sample/dog.cr2",
        "figureResFile :Runtime:Geometries:foo.obj\nobjFileGeom 0 0 :R:foo.obj\nfoo.obj\n");
    lib("Props/upper.pp2", "x\r\ny FOO.OBJ z\r\n");
    lib("Props/longer.pp2", "prop :R:myfoo.obj2");
    lib("Props/thumb.png", std::string("\x89PNG\0\0foo.obj\0", 15));
    lib("Pose/none.pz2", "foo.\nobj foo_obj fo o.obj\n");
    std::string big(300 * 1024, '1');
    big.replace(256 * 1024 - 3, 7, "FoO.oBj");  // across the boundary of two read blocks
    lib("Pose/big.pz2", big);
    // A pipe must not block the scan, nor a linked folder loop it.
    ::mkfifo(onC("Poser4/Runtime/Libraries/Pose/pipe").c_str(), 0644);
    std::filesystem::create_directory_symlink(onC("Poser4/Runtime/Libraries"),
                                              onC("Poser4/Runtime/Libraries/Pose/loop"));
    app->StopScanRequested = true;  // a scan starts afresh
    const std::string& f = kFoundLib;
    EXPECT_EQ(Described(scan()), (Lines{kReferencedBy, f + "Pose\\big.pz2", f + "Props\\longer.pp2",
                                        f + "Props\\thumb.png", f + "Props\\upper.pp2",
                                        f + "character\\Sample\\dog.cr2"}));
    EXPECT_EQ(desktop.scanModes, (std::vector<bool>{true, false}));
    EXPECT_EQ(desktop.scanCaption, "Scanning for foo.obj");
    EXPECT_EQ(desktop.scanStatuses.at(0), "Starting...");
    EXPECT_TRUE(desktop.msgBoxes.empty() && desktop.systemMessages.empty());
}

TEST(ReferencingFileLocation, RelativeOnlyWithTheExactFolderName) {
    const std::string path = "C:\\Poser4\\Runtime\\Libraries\\dog.cr2", lower = "C:\\p\\runtime\\x";
    EXPECT_EQ(ReferencingFileLocation(path, true), "\\Runtime\\Libraries\\dog.cr2");
    EXPECT_EQ(ReferencingFileLocation(path, false), path);
    EXPECT_EQ(ReferencingFileLocation(lower, true), lower);
}

// Without a Libraries folder the scan cannot answer and says so. Stop seen after the first line
// read stops before any find; seen after a find keeps the finds. A file that cannot be read is
// skipped, the scan goes on past it (sub-folders included) and the answer is marked incomplete.
TEST_F(FindReferencingFilesTest, NoLibrariesNotReferencedStopsAndFailingFiles) {
    EXPECT_EQ(Described(scan()), Lines{"(Scan incomplete: 1 folder could not be read, so this file "
                                       "may still be referenced.)|Unable|Unable"});
    EXPECT_EQ(desktop.msgBoxes.at(0).prompt, kDriveMessage);
    lib("character/a.cr2", "figureResFile :Runtime:Geometries:bar.obj\n");
    EXPECT_EQ(Described(scan()),
              Lines{"(This file is not referenced by any other files.)|NotFound|Properties"});
    lib("a/bad.cr2", "nothing here\nfoo.obj\n");
    lib("a/sub/hit.cr2");
    lib("b/hit.cr2", "x\rfoo.obj");
    desktop.onDoEvents = [&] { app->StopScanRequested = true; };
    EXPECT_EQ(Described(scan()), Lines{kStopped});
    desktop.onDoEvents = [&] { app->StopScanRequested = line && line->childCount() > 0; };
    EXPECT_EQ(Described(scan()), (Lines{kReferencedBy, kFoundLib + "a\\bad.cr2"}));
    EXPECT_EQ(desktop.scanModes,
              std::vector<bool>({true, false, true, false, true, false, true, false}));
    EXPECT_EQ(desktop.msgBoxes.size(), 1u);
    desktop.onDoEvents = nullptr;
    for (int number : {err::kObjectNotSet, err::kDeviceIO}) {
        failing->failOn["ReadFileAt:C:\\Poser4\\Runtime\\Libraries\\a\\bad.cr2"] = number;
        EXPECT_EQ(Described(scan()),
                  (Lines{kReferencedBy, kFileSkipped, kFoundLib + "a\\sub\\hit.cr2",
                         kFoundLib + "b\\hit.cr2"}));
        EXPECT_EQ(desktop.systemMessages.size(), number == err::kDeviceIO ? 1u : 0u);
    }
}

// A dangling link or a locked file before the only referencing file must not end in "not
// referenced": that file is still found, or the answer says it is incomplete. However many things
// fail, one box is shown.
TEST_F(FindReferencingFilesTest, UnreadableFilesAreSkippedCountedAndReportedOnce) {
    const std::string libraries = "Poser4/Runtime/Libraries/";
    lib("character/a.cr2", "figureResFile :Runtime:Geometries:bar.obj\n");
    std::filesystem::create_symlink(onC(libraries + "gone.cr2"),
                                    onC(libraries + "character/b.cr2"));
    lib("character/Sample/dog.cr2", "objFileGeom 0 0 :Runtime:Geometries:foo.obj\n");
    EXPECT_EQ(Described(scan()),
              (Lines{kReferencedBy, kFileSkipped, kFoundLib + "character\\Sample\\dog.cr2"}));
    EXPECT_EQ(line->child(0)->tag() + line->child(0)->image(), "RefFileProperties");
    EXPECT_EQ(line->child(1)->tag() + line->child(1)->image(), "UnableUnable");
    ASSERT_EQ(desktop.systemMessages.size(), 1u);
    EXPECT_NE(desktop.systemMessages[0].prompt.find("SearchThroughFilesForFile"),
              std::string::npos);

    std::filesystem::remove(onC(libraries + "character/Sample/dog.cr2"));
    std::filesystem::create_symlink(onC(libraries + "gone.cr2"),
                                    onC(libraries + "character/c.cr2"));
    lib("Props/x.pp2", "prop :Runtime:Geometries:bar.obj\n");
    failing->failOn["ListFolder:C:\\Poser4\\Runtime\\Libraries\\Props"] = err::kPermissionDenied;
    desktop.systemMessages.clear();
    desktop.msgBoxes.clear();
    EXPECT_EQ(Described(scan()), Lines{"(Scan incomplete: 2 files and 1 folder could not be read, "
                                       "so this file may still be referenced.)|Unable|Unable"});
    EXPECT_EQ(desktop.systemMessages.size() + desktop.msgBoxes.size(), 1u);
}

}  // namespace
}  // namespace bw
