#include <gtest/gtest.h>

#include <filesystem>

#include "core/Classification.h"
#include "core/ReportError.h"
#include "core/TreePopulation.h"
#include "platform/Text.h"
#include "references/FindReferencedFile.h"
#include "references/SearchThroughThisFolder.h"
#include "support/AppFixture.h"
#include "support/FailingFileSystem.h"
#include "support/ParamNames.h"

namespace bw {
namespace {

constexpr const char* kRuntime = "C:\\Poser4\\Runtime";
constexpr const char* kFound = "Found in: C:\\Poser4\\Runtime\\";

// The extension test keeps its letter case, the picture test does not.
TEST(StartFolderFor, ByTheReferencesTail) {
    for (const auto& row :
         Split(":R:a.hr2=\\Libraries\\Hair;:R:a.pz2=;:R:a.HR2=;:R:x.TIF=\\Textures", ';')) {
        const auto kv = Split(row, '=');
        EXPECT_EQ(StartFolderFor(kv[0], kRuntime), kRuntime + kv[1]) << row;
    }
    EXPECT_EQ(StartFolderFor(":R:a.obj", "C:\\"), "C:\\Geometries");
}

// The Runtime folder holds Geometries, Textures and a link back to itself that must not be
// followed; Geometries\Locked cannot be listed.
class FindReferencedFileTest : public test::AppFixture {
  protected:
    FindReferencedFileTest() {
        app->settings.Runtime = kRuntime;
        test::InstallFailingFileSystem(*app)
            ->failOn["ListFolder:C:\\Poser4\\Runtime\\Geometries\\Locked"] = err::kPermissionDenied;
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
    static std::string Described(Node* n) {
        return n->text() + "|" + n->tag() + "|" + n->image() + "|" +
               std::to_string(n->foreColor().value_or(-1));
    }
};

// files: under Runtime, ";" between; results: the places found under Runtime in the order found
// (depth first, a folder's own files before its sub-folders), " D" after those carrying a
// discrepancy line.
struct LocateCase {
    const char *what, *reference, *files, *results, *box = nullptr;
};

const LocateCase kLocateCases[] = {
    {"TwoFolders", "\":Runtime:Geometries:Sample:foo.obj\"",
     "Geometries/Other/foo.obj;Geometries/Sample/FOO.obj",
     "Geometries\\Other\\foo.obj D;Geometries\\Sample\\FOO.obj"},
    {"UpperCaseObjFromRuntime", ":Runtime:Geometries:FOO.OBJ", "Elsewhere/foo.obj",
     "Elsewhere\\foo.obj D"},
    {"UpperCaseJpgInTextures", ":Runtime:Textures:A:skin.JPG",
     "Textures/A/skin.jpg;Elsewhere/skin.jpg", "Textures\\A\\skin.jpg"},
    {"OwnFilesFirst", ":Runtime:Geometries:Deeper:foo.obj",
     "Geometries/Deeper/foo.obj;Geometries/foo.obj",
     "Geometries\\foo.obj D;Geometries\\Deeper\\foo.obj"},
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
    std::vector<std::string> results, boxes;
    for (const auto& loc : scan->children()) {
        results.push_back(loc->text().substr(std::string(kFound).size()) +
                          (loc->childCount() ? " D" : ""));
        EXPECT_EQ(Described(loc.get()), loc->text() + "|RefFolder|Properties|0");
        if (loc->childCount()) {
            EXPECT_EQ(Described(loc->child(0)),
                      "Discrepancy Found: referenced folder does not match actual folder."
                      "|Discrepancy|Discrepancy|255");
        }
    }
    EXPECT_EQ(results, Split(tc.results, ';'));
    EXPECT_EQ(scan->text() + "|" + scan->tag() + "|" + scan->image(),
              *tc.results
                  ? "Referenced file found in:|Reference|ClosedFolder"
                  : "(Referenced file not found under Runtime\\ folder)|NotFound|Properties");
    EXPECT_TRUE(scan->expanded());
    for (const auto& b : desktop.msgBoxes) boxes.push_back(b.prompt);
    EXPECT_EQ(boxes, tc.box ? std::vector<std::string>{tc.box} : std::vector<std::string>{});
    EXPECT_FALSE(desktop.busy());
    EXPECT_EQ(desktop.Caption(), "Brindlewood... (scanning)");
}

INSTANTIATE_TEST_SUITE_P(Cases, LocateTable, ::testing::ValuesIn(kLocateCases), test::ByWhat);

TEST_F(FindReferencedFileTest, BranchRemovedWhileSearchingIsLeftAlone) {
    for (int i = 0; i < 5; ++i)
        c.createFile("Poser4/Runtime/Geometries/F" + std::to_string(i) + "/foo.obj");
    NodeHandle drive(app->tree.roots().front().get());
    int calls = 0;
    desktop.onDoEvents = [&] {
        if (++calls == 2) app->tree.Remove(drive.get());
    };
    locate(":Runtime:Geometries:foo.obj");
    EXPECT_EQ(calls, 2);  // the search ends as soon as it sees its container gone
    EXPECT_FALSE(desktop.busy());
}

}  // namespace
}  // namespace bw
