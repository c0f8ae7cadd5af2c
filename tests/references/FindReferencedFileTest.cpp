#include <gtest/gtest.h>

#include <filesystem>

#include "app/ReportError.h"
#include "browser/Classification.h"
#include "browser/TreePopulation.h"
#include "platform/PlatformError.h"
#include "platform/Text.h"
#include "references/FindReferencedFile.h"
#include "references/SearchThroughThisFolder.h"
#include "support/AppFixture.h"

namespace bw {
namespace {

constexpr const char* kRuntime = "C:\\Poser4\\Runtime";
constexpr const char* kFound = "Found in: C:\\Poser4\\Runtime\\";

TEST(StartFolderFor, ByTheReferencesTail) {
    const std::pair<const char*, const char*> cases[] = {{":R:foo.obj", "\\Geometries"},
                                                         {":R:foo.OBJ", ""},
                                                         {":R:a.cr2", "\\Libraries\\character"},
                                                         {":R:a.fc2", "\\Libraries\\Face"},
                                                         {":R:a.hr2", "\\Libraries\\Hair"},
                                                         {":R:a.hd2", "\\Libraries\\Hand"},
                                                         {":R:a.lt2", "\\Libraries\\Light"},
                                                         {":R:a.pp2", "\\Libraries\\Props"},
                                                         {":R:a.pz2", ""},
                                                         {":R:a.cm2", ""},
                                                         {":R:a.pz3", ""},
                                                         {":R:skin.JPG", "\\Textures"},
                                                         {":R:skin.tif", "\\Textures"},
                                                         {"C:\\Other\\foo.obj", "\\Geometries"}};
    for (const auto& [reference, sub] : cases)
        EXPECT_EQ(StartFolderFor(reference, kRuntime), kRuntime + std::string(sub)) << reference;
    EXPECT_EQ(StartFolderFor(":R:a.obj", "C:\\"), "C:\\Geometries");
}

// Lists one folder as unreadable.
class UnreadableFolder : public FileSystem {
  public:
    using FileSystem::FileSystem;
    std::vector<FolderEntry> ListFolder(const std::string& folder) const override {
        if (folder == "C:\\Poser4\\Runtime\\Geometries\\Locked")
            throw PlatformError::FromNumber(err::kPermissionDenied);
        return FileSystem::ListFolder(folder);
    }
};

// The Runtime folder holds Geometries, Textures and a link back to itself that must not be
// followed; Geometries\Locked cannot be listed.
class FindReferencedFileTest : public test::AppFixture {
  protected:
    FindReferencedFileTest() {
        app->settings.Runtime = kRuntime;
        app->fs = std::make_unique<UnreadableFolder>(DriveMap::FromPrefix(prefix.path()));
        c.createDir("Poser4/Runtime/Textures");
        c.createDir("Poser4/Runtime/Geometries");
        std::filesystem::create_directory_symlink(onC("Poser4/Runtime"),
                                                  onC("Poser4/Runtime/Geometries/loop"));
        GetDrives(*app);
    }
    // Locates the reference from a reference line with its find-location line, as the listing
    // leaves them; answers the find-location line.
    Node* locate(const std::string& reference) {
        Node* ref = app->tree.AddChild(app->tree.roots().front().get());
        ref->SetText(reference);
        Node* scan = AddFindLocationNode(*ref);
        FindReferencedFile(*app, *scan);
        return scan;
    }
    // The paths found under Runtime, sorted, with " D" after those carrying a discrepancy line.
    static std::vector<std::string> Results(Node* container) {
        std::vector<std::string> out;
        for (const auto& loc : container->children())
            out.push_back(loc->text().substr(std::string(kFound).size()) +
                          (loc->childCount() ? " D" : ""));
        std::sort(out.begin(), out.end());
        return out;
    }
};

// files: under Runtime, ";" between; results: as Results gives them, ";" between.
struct LocateCase {
    const char *what, *reference, *files, *results, *box = nullptr;
};

const LocateCase kLocateCases[] = {
    {"SameFolder", ":Runtime:Geometries:Sample:foo.obj", "Geometries/Sample/foo.obj",
     "Geometries\\Sample\\foo.obj"},
    {"OtherFolder", ":Runtime:Geometries:Sample:foo.obj", "Geometries/Other/foo.obj",
     "Geometries\\Other\\foo.obj D"},
    {"TwoFolders", "\":Runtime:Geometries:Sample:foo.obj\"",
     "Geometries/Other/foo.obj;Geometries/Sample/FOO.obj",
     "Geometries\\Other\\foo.obj D;Geometries\\Sample\\FOO.obj"},
    {"UpperCaseObjFromRuntime", ":Runtime:Geometries:FOO.OBJ", "Elsewhere/foo.obj",
     "Elsewhere\\foo.obj D"},
    {"UpperCaseJpgInTextures", ":Runtime:Textures:A:skin.JPG",
     "Textures/A/skin.jpg;Elsewhere/skin.jpg", "Textures\\A\\skin.jpg"},
    {"PoseThroughRuntime", ":Runtime:Libraries:Pose:p.pz2", "Libraries/Pose/p.pz2;x/P.PZ2",
     "Libraries\\Pose\\p.pz2;x\\P.PZ2 D"},
    {"FullPathKeepsItsFolder", "C:\\Other\\foo.obj", "Geometries/foo.obj", "Geometries\\foo.obj D"},
    {"NoMatch", ":Runtime:Geometries:foo.obj", "Geometries/foo.obj.bak;Geometries/oo.obj", ""},
    {"UnreadableFolderReportedOnceAndSkipped", ":Runtime:Geometries:B:foo.obj",
     "Geometries/Locked/foo.obj;Geometries/Locked/Sub/foo.obj;Geometries/B/foo.obj",
     "Geometries\\B\\foo.obj", kSecurityMessage},
    {"MissingStartFolder", ":Runtime:Libraries:character:a.cr2", "", "", kDriveMessage},
};

class LocateTable : public FindReferencedFileTest,
                    public ::testing::WithParamInterface<LocateCase> {};

TEST_P(LocateTable, FindsEachPlaceAndJudgesIt) {
    const LocateCase& tc = GetParam();
    for (const auto& f : Split(tc.files, ';')) c.createFile("Poser4/Runtime/" + f, "x");
    Node* scan = locate(tc.reference);
    EXPECT_EQ(Results(scan), Split(tc.results, ';'));
    EXPECT_EQ(scan->text() + "|" + scan->tag() + "|" + scan->image(),
              *tc.results
                  ? "Referenced file found in:|Reference|ClosedFolder"
                  : "(Referenced file not found under Runtime\\ folder)|NotFound|Properties");
    EXPECT_TRUE(scan->expanded());
    std::vector<std::string> boxes;
    for (const auto& b : desktop.msgBoxes) boxes.push_back(b.prompt);
    EXPECT_EQ(boxes, tc.box ? std::vector<std::string>{tc.box} : std::vector<std::string>{});
    EXPECT_FALSE(desktop.busy());
    EXPECT_EQ(desktop.Caption(), "Brindlewood... (scanning)");
}

INSTANTIATE_TEST_SUITE_P(Cases, LocateTable, ::testing::ValuesIn(kLocateCases),
                         [](const auto& info) { return std::string(info.param.what); });

// Depth first: a folder's own files come before its sub-folders.
TEST_F(FindReferencedFileTest, LocationAndDiscrepancyNodes) {
    c.createFile("Poser4/Runtime/Geometries/foo.obj");
    c.createFile("Poser4/Runtime/Geometries/Deeper/foo.obj");
    Node* scan = locate(":Runtime:Geometries:Deeper:foo.obj");
    ASSERT_EQ(scan->childCount(), 2u);
    const auto described = [](Node* n) {
        return n->text() + "|" + n->tag() + "|" + n->image() + "|" +
               std::to_string(n->foreColor().value_or(-1)) + "|" + std::to_string(n->childCount());
    };
    EXPECT_EQ(described(scan->child(0)),
              std::string(kFound) + "Geometries\\foo.obj|RefFolder|Properties|0|1");
    EXPECT_EQ(described(scan->child(0)->child(0)),
              "Discrepancy Found: referenced folder does not match actual folder.|Discrepancy|"
              "Discrepancy|255|0");
    EXPECT_EQ(described(scan->child(1)),
              std::string(kFound) + "Geometries\\Deeper\\foo.obj|RefFolder|Properties|0|0");
}

TEST_F(FindReferencedFileTest, BranchRemovedWhileSearchingIsLeftAlone) {
    for (int i = 0; i < 5; ++i)
        c.createFile("Poser4/Runtime/Geometries/F" + std::to_string(i) + "/foo.obj");
    Node* ref = app->tree.AddChild(app->tree.roots().front().get());
    ref->SetText(":Runtime:Geometries:foo.obj");
    NodeHandle reference(ref);
    int calls = 0;
    desktop.onDoEvents = [&] {
        if (++calls == 2) app->tree.Remove(reference.get());
    };
    FindReferencedFile(*app, *AddFindLocationNode(*ref));
    EXPECT_FALSE(reference);
    EXPECT_EQ(calls, 2);  // the search ends as soon as it sees its container gone
    EXPECT_FALSE(desktop.busy());
}

}  // namespace
}  // namespace bw
