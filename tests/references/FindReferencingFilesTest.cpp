#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>

#include "app/ReportError.h"
#include "browser/Classification.h"
#include "browser/TreePopulation.h"
#include "platform/PlatformError.h"
#include "references/FindReferencingFiles.h"
#include "references/SearchThroughFilesForFile.h"
#include "support/AppFixture.h"

namespace bw {
namespace {

constexpr const char* kFoundLib = "Found in: C:\\Poser4\\Runtime\\Libraries\\";
constexpr const char* kStopped = "<<Scan process stopped before completion>>|Unable|Unable";

// Fails reading one file with a chosen error.
class FailingRead : public FileSystem {
  public:
    using FileSystem::FileSystem;
    std::string bad;
    int number = 0;
    size_t ReadFileAt(const std::string& path, uint64_t offset, char* buffer, size_t size,
                      uint64_t* fileSize) const override {
        if (path == bad) throw PlatformError::FromNumber(number);
        return FileSystem::ReadFileAt(path, offset, buffer, size, fileSize);
    }
};

class FindReferencingFilesTest : public test::AppFixture {
  protected:
    FindReferencingFilesTest() : failing(new FailingRead(app->fs->driveMap())) {
        app->fs.reset(failing);
        app->settings.Runtime = "C:\\Poser4\\Runtime";
        c.createFile("Poser4/Runtime/Geometries/foo.obj", "v 1 2 3\n");
    }
    void lib(const std::string& relative, const std::string& bytes = "foo.obj") {
        c.createFile("Poser4/Runtime/Libraries/" + relative, bytes);
    }
    // Scans for foo.obj; answers the container line.
    NodeHandle scan() {
        NodeHandle line(expandTo("C:\\Poser4\\Runtime\\Geometries\\foo.obj")->child(0));
        FindReferencingFiles(*app, *line.get());
        return line;
    }
    // The node as "text|tag|image", then its children's texts, sorted.
    static std::vector<std::string> Described(const NodeHandle& n) {
        std::vector<std::string> out{n->text() + "|" + n->tag() + "|" + n->image()};
        for (const auto& ch : n->children()) out.push_back(ch->text());
        std::sort(out.begin() + 1, out.end());
        return out;
    }
    FailingRead* failing;  // owned by app
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
    const std::string f = kFoundLib;
    EXPECT_EQ(Described(scan()),
              (std::vector<std::string>{"This file is referenced by:|Reference|ClosedFolder",
                                        f + "Pose\\big.pz2", f + "Props\\longer.pp2",
                                        f + "Props\\thumb.png", f + "Props\\upper.pp2",
                                        f + "character\\Sample\\dog.cr2"}));
    EXPECT_EQ(desktop.scanModes, (std::vector<bool>{true, false}));
    EXPECT_EQ(desktop.scanCaption, "Scanning for foo.obj");
    EXPECT_EQ(desktop.scanStatuses.at(0), "Starting...");
    EXPECT_TRUE(desktop.msgBoxes.empty() && desktop.systemMessages.empty());
    EXPECT_NE(std::find(desktop.scanStatuses.begin(), desktop.scanStatuses.end(),
                        "Scanning through Runtime:Libraries:character:Sample:dog.cr2"),
              desktop.scanStatuses.end());
}

// Without a Libraries folder the scan stops and says so.
TEST_F(FindReferencingFilesTest, NotReferencedOrNoLibraries) {
    EXPECT_EQ(Described(scan()), std::vector<std::string>{kStopped});
    EXPECT_EQ(desktop.msgBoxes.at(0).prompt, kDriveMessage);
    lib("character/a.cr2", "figureResFile :Runtime:Geometries:bar.obj\n");
    EXPECT_EQ(Described(scan()),
              std::vector<std::string>{"(This file is not referenced by any other files.)|NotFound|"
                                       "Properties"});
    EXPECT_EQ(desktop.msgBoxes.size() + desktop.systemMessages.size(), 1u);
    EXPECT_EQ(desktop.scanModes, (std::vector<bool>{true, false, true, false}));
}

TEST(ReferencingFileLocation, RelativeOnlyWithTheExactFolderName) {
    EXPECT_EQ(ReferencingFileLocation("C:\\Poser4\\Runtime\\Libraries\\dog.cr2", true),
              "\\Runtime\\Libraries\\dog.cr2");
    EXPECT_EQ(ReferencingFileLocation("C:\\Poser4\\Runtime\\Libraries\\dog.cr2", false),
              "C:\\Poser4\\Runtime\\Libraries\\dog.cr2");
    EXPECT_EQ(ReferencingFileLocation("C:\\p\\runtime\\Libraries\\dog.cr2", true),
              "C:\\p\\runtime\\Libraries\\dog.cr2");
}

// Stop seen after the first line read stops before any find; seen after a find keeps the finds.
TEST_F(FindReferencingFilesTest, StopBeforeAndAfterAFind) {
    lib("a/first.cr2", "nothing here\nfoo.obj\n");
    lib("b/c.cr2", "x\rfoo.obj");
    desktop.onDoEvents = [&] { app->StopScanRequested = true; };
    EXPECT_EQ(Described(scan()), std::vector<std::string>{kStopped});
    EXPECT_EQ(desktop.scanModes.back(), false);

    NodeHandle container(expandTo("C:\\Poser4\\Runtime\\Geometries\\foo.obj")->child(0));
    desktop.onDoEvents = [&] { app->StopScanRequested = container->childCount() > 0; };
    FindReferencingFiles(*app, *container.get());
    EXPECT_EQ(Described(container).size(), 2u);
    EXPECT_EQ(Described(container)[0], "This file is referenced by:|Reference|ClosedFolder");
}

// A file that cannot be read ends its own folder's scan only; a vanished one silently.
TEST_F(FindReferencingFilesTest, FailingFileSkipsItsFolderOnly) {
    lib("a/bad.cr2");
    lib("a/sub/hit.cr2");
    lib("b/hit.cr2");
    failing->bad = "C:\\Poser4\\Runtime\\Libraries\\a\\bad.cr2";
    for (int number : {err::kObjectNotSet, err::kDeviceIO}) {
        failing->number = number;
        desktop.systemMessages.clear();
        EXPECT_EQ(Described(scan()).at(1), std::string(kFoundLib) + "b\\hit.cr2");
        EXPECT_EQ(desktop.systemMessages.size(), number == err::kDeviceIO ? 1u : 0u);
        ExpandNode(*app, *expandTo("C:\\Poser4\\Runtime\\Geometries"));
    }
}

// As when the window closes: the branch goes and Stop is requested; the scan must end at once.
TEST_F(FindReferencingFilesTest, BranchRemovedDuringTheScan) {
    for (int i = 0; i < 20; ++i) lib("f" + std::to_string(i) + "/x.cr2");
    Node* file = expandTo("C:\\Poser4\\Runtime\\Geometries\\foo.obj");
    NodeHandle handle(file);
    int calls = 0;
    desktop.onDoEvents = [&] {
        if (++calls != 3) return;
        app->tree.Remove(handle.get());
        app->StopScanRequested = true;
    };
    FindReferencingFiles(*app, *file->child(0));
    EXPECT_EQ(calls, 3);
    EXPECT_EQ(desktop.scanModes, (std::vector<bool>{true, false}));
}

}  // namespace
}  // namespace bw
