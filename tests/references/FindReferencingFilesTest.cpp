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

constexpr const char* kLib = "Poser4/Runtime/Libraries/";
constexpr const char* kFoundLib = "Found in: C:\\Poser4\\Runtime\\Libraries\\";

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
    FindReferencingFilesTest() {
        app->settings.Runtime = "C:\\Poser4\\Runtime";
        auto fs = std::make_unique<FailingRead>(DriveMap::FromPrefix(prefix.path()));
        failing = fs.get();
        app->fs = std::move(fs);
        c.createFile("Poser4/Runtime/Geometries/foo.obj", "v 1 2 3\n");
    }
    void lib(const std::string& relative, const std::string& bytes) {
        c.createFile(kLib + relative, bytes);
    }
    Node* scan() {
        Node* file = expandTo("C:\\Poser4\\Runtime\\Geometries\\foo.obj");
        Node* line = file->child(0);
        FindReferencingFiles(*app, *line);
        return line;
    }
    static std::vector<std::string> Texts(Node* container) {
        std::vector<std::string> out;
        for (const auto& n : container->children()) out.push_back(n->text());
        std::sort(out.begin(), out.end());
        return out;
    }
    static void ExpectState(Node* n, const char* text, const char* tagName, const char* image) {
        EXPECT_EQ(n->text(), text);
        EXPECT_EQ(n->tag(), tagName);
        EXPECT_EQ(n->image(), image);
        EXPECT_EQ(n->foreColor(), 0);
    }
    FailingRead* failing = nullptr;
};

TEST_F(FindReferencingFilesTest, ListsEachMentioningFileOnce) {
    lib("character/Sample/dog.cr2",
        "figureResFile :Runtime:Geometries:foo.obj\nobjFileGeom 0 0 :R:foo.obj\nfoo.obj\n");
    lib("Props/upper.pp2", "x\r\ny FOO.OBJ z\r\n");
    lib("Props/longer.pp2", "prop :R:myfoo.obj2");
    lib("Props/thumb.png", std::string("\x89PNG\0\0foo.obj\0", 15));
    lib("Pose/none.pz2", "foo.\nobj foo_obj fo o.obj\n");
    std::string big(300 * 1024, '1');
    big.replace(256 * 1024 - 3, 7, "FoO.oBj");  // across the boundary of two read blocks
    lib("Pose/big.pz2", big);
    app->StopScanRequested = true;  // a scan starts afresh
    Node* line = scan();
    EXPECT_EQ(Texts(line),
              (std::vector<std::string>{std::string(kFoundLib) + "Pose\\big.pz2",
                                        std::string(kFoundLib) + "Props\\longer.pp2",
                                        std::string(kFoundLib) + "Props\\thumb.png",
                                        std::string(kFoundLib) + "Props\\upper.pp2",
                                        std::string(kFoundLib) + "character\\Sample\\dog.cr2"}));
    ExpectState(line->child(0), line->child(0)->text().c_str(), tag::kRefFile, "Properties");
    ExpectState(line, "This file is referenced by:", tag::kReference, "ClosedFolder");
    EXPECT_TRUE(line->expanded());
    EXPECT_EQ(desktop.scanModes, (std::vector<bool>{true, false}));
    EXPECT_EQ(desktop.scanCaption, "Scanning for foo.obj");
    ASSERT_FALSE(desktop.scanStatuses.empty());
    EXPECT_EQ(desktop.scanStatuses.front(), "Starting...");
    EXPECT_NE(std::find(desktop.scanStatuses.begin(), desktop.scanStatuses.end(),
                        "Scanning through Runtime:Libraries:character:Sample:dog.cr2"),
              desktop.scanStatuses.end());
}

TEST_F(FindReferencingFilesTest, NotReferenced) {
    lib("character/a.cr2", "figureResFile :Runtime:Geometries:bar.obj\n");
    ::mkfifo(onC(std::string(kLib) + "character/pipe").c_str(), 0644);  // must not block the scan
    std::filesystem::create_directory_symlink(onC(kLib), onC(std::string(kLib) + "character/loop"));
    ExpectState(scan(), "(This file is not referenced by any other files.)", tag::kNotFound,
                "Properties");
    EXPECT_TRUE(desktop.msgBoxes.empty() && desktop.systemMessages.empty());
}

TEST(ReferencingFileLocation, RelativeOnlyWithTheExactFolderName) {
    EXPECT_EQ(ReferencingFileLocation("C:\\Poser4\\Runtime\\Libraries\\dog.cr2", true),
              "\\Runtime\\Libraries\\dog.cr2");
    EXPECT_EQ(ReferencingFileLocation("C:\\Poser4\\Runtime\\Libraries\\dog.cr2", false),
              "C:\\Poser4\\Runtime\\Libraries\\dog.cr2");
    EXPECT_EQ(ReferencingFileLocation("C:\\p\\runtime\\Libraries\\dog.cr2", true),
              "C:\\p\\runtime\\Libraries\\dog.cr2");
}

TEST_F(FindReferencingFilesTest, StopBeforeAFind) {
    lib("a/first.cr2", "nothing here\nfoo.obj\n");
    lib("b/c.cr2", "x\rfoo.obj");
    // Stop is seen after the first line read, before any line naming the file.
    desktop.onDoEvents = [&] { app->StopScanRequested = true; };
    Node* line = scan();
    ExpectState(line, "<<Scan process stopped before completion>>", tag::kUnable, "Unable");
    EXPECT_EQ(desktop.scanModes.back(), false);
}

TEST_F(FindReferencingFilesTest, StopAfterAFindKeepsTheFinds) {
    for (int i = 0; i < 4; ++i) lib("f" + std::to_string(i) + "/x.cr2", "foo.obj");
    NodeHandle container;
    desktop.onDoEvents = [&] {
        if (container && container->childCount() > 0) app->StopScanRequested = true;
    };
    Node* file = expandTo("C:\\Poser4\\Runtime\\Geometries\\foo.obj");
    container = file->child(0);
    FindReferencingFiles(*app, *container.get());
    EXPECT_EQ(container->childCount(), 1u);
    ExpectState(container.get(), "This file is referenced by:", tag::kReference, "ClosedFolder");
}

TEST_F(FindReferencingFilesTest, FailingFileSkipsItsFolderOnly) {
    lib("a/bad.cr2", "foo.obj");
    lib("a/sub/hit.cr2", "foo.obj");
    lib("b/hit.cr2", "foo.obj");
    failing->bad = "C:\\Poser4\\Runtime\\Libraries\\a\\bad.cr2";
    for (int number : {err::kObjectNotSet, err::kDeviceIO}) {
        failing->number = number;
        desktop.systemMessages.clear();
        Node* line = scan();
        EXPECT_EQ(Texts(line), std::vector<std::string>{std::string(kFoundLib) + "b\\hit.cr2"});
        if (number == err::kObjectNotSet) {
            EXPECT_TRUE(desktop.systemMessages.empty());
        } else {
            ASSERT_EQ(desktop.systemMessages.size(), 1u);
            EXPECT_EQ(desktop.systemMessages[0].prompt,
                      GenericErrorText(57, "Device I/O error", "SearchThroughFilesForFile"));
        }
        ExpandNode(*app, *expandTo("C:\\Poser4\\Runtime\\Geometries"));
    }
}

TEST_F(FindReferencingFilesTest, MissingLibrariesFolderIsReported) {
    Node* line = scan();
    ASSERT_EQ(desktop.msgBoxes.size(), 1u);
    EXPECT_EQ(desktop.msgBoxes[0].prompt, kDriveMessage);
    ExpectState(line, "<<Scan process stopped before completion>>", tag::kUnable, "Unable");
    EXPECT_EQ(desktop.scanModes, (std::vector<bool>{true, false}));
}

// As when the window closes: the branch goes and Stop is requested; the scan must end at once.
TEST_F(FindReferencingFilesTest, BranchRemovedDuringTheScan) {
    for (int i = 0; i < 20; ++i) lib("f" + std::to_string(i) + "/x.cr2", "foo.obj");
    Node* file = expandTo("C:\\Poser4\\Runtime\\Geometries\\foo.obj");
    NodeHandle handle(file);
    int calls = 0;
    desktop.onDoEvents = [&] {
        if (++calls == 3) {
            app->tree.Remove(handle.get());
            app->StopScanRequested = true;
        }
    };
    FindReferencingFiles(*app, *file->child(0));
    EXPECT_EQ(calls, 3);
    EXPECT_EQ(desktop.scanModes, (std::vector<bool>{true, false}));
}

}  // namespace
}  // namespace bw
