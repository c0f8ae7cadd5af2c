#include <gtest/gtest.h>

#include <filesystem>

#include "app/ReportError.h"
#include "browser/Classification.h"
#include "browser/TreePopulation.h"
#include "platform/PlatformError.h"
#include "references/FindReferencedFile.h"
#include "references/SearchThroughThisFolder.h"
#include "support/AppFixture.h"

namespace bw {
namespace {

constexpr const char* kRuntime = "C:\\Poser4\\Runtime";

TEST(StartFolderFor, ByTheReferencesTail) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {":R:foo.obj", "\\Geometries"},
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
        EXPECT_EQ(StartFolderFor(reference, kRuntime), kRuntime + sub) << reference;
    EXPECT_EQ(StartFolderFor(":R:a.obj", "C:\\"), "C:\\Geometries");
}

class FindReferencedFileTest : public test::AppFixture {
  protected:
    FindReferencedFileTest() {
        app->settings.Runtime = kRuntime;
        GetDrives(*app);
    }
    // A reference line with its find-location line, as the listing leaves them.
    Node* scanLineFor(const std::string& reference) {
        Node* ref = app->tree.AddChild(app->tree.roots().front().get());
        ref->SetText(reference);
        ref->SetKey("ref" + std::to_string(ref->index()));
        return AddFindLocationNode(*ref);
    }
    void file(const std::string& relative) { c.createFile("Poser4/Runtime/" + relative, "x"); }
    // "Found in: " texts with a D after those that carry a discrepancy line.
    static std::vector<std::string> Results(Node* container) {
        std::vector<std::string> out;
        for (const auto& loc : container->children())
            out.push_back(loc->text() + (loc->childCount() ? " D" : ""));
        return out;
    }
};

struct LocateCase {
    const char* name;
    const char* reference;
    std::vector<std::string> files;
    std::vector<std::string> results;
};

class LocateTable : public FindReferencedFileTest,
                    public ::testing::WithParamInterface<LocateCase> {};

TEST_P(LocateTable, FindsEachPlaceAndJudgesIt) {
    for (const auto& f : GetParam().files) file(f);
    c.createDir("Poser4/Runtime/Geometries");
    c.createDir("Poser4/Runtime/Textures");
    Node* scan = scanLineFor(GetParam().reference);
    FindReferencedFile(*app, *scan);
    auto results = Results(scan);
    std::sort(results.begin(), results.end());
    EXPECT_EQ(results, GetParam().results);
    EXPECT_TRUE(scan->expanded());
    EXPECT_EQ(scan->foreColor(), 0);
    if (results.empty()) {
        EXPECT_EQ(scan->text(), "(Referenced file not found under Runtime\\ folder)");
        EXPECT_EQ(scan->tag(), tag::kNotFound);
        EXPECT_EQ(scan->image(), "Properties");
    } else {
        EXPECT_EQ(scan->text(), "Referenced file found in:");
        EXPECT_EQ(scan->tag(), tag::kReference);
        EXPECT_EQ(scan->image(), "ClosedFolder");
    }
    EXPECT_FALSE(desktop.busy());
    EXPECT_EQ(desktop.Caption(), "Brindlewood... (scanning)");
}

const char* kFound = "Found in: C:\\Poser4\\Runtime\\";
INSTANTIATE_TEST_SUITE_P(
    Cases, LocateTable,
    ::testing::Values(LocateCase{"SameFolder",
                                 ":Runtime:Geometries:Sample:foo.obj",
                                 {"Geometries/Sample/foo.obj"},
                                 {std::string(kFound) + "Geometries\\Sample\\foo.obj"}},
                      LocateCase{"OtherFolder",
                                 ":Runtime:Geometries:Sample:foo.obj",
                                 {"Geometries/Other/foo.obj"},
                                 {std::string(kFound) + "Geometries\\Other\\foo.obj D"}},
                      LocateCase{"TwoFolders",
                                 "\":Runtime:Geometries:Sample:foo.obj\"",
                                 {"Geometries/Other/foo.obj", "Geometries/Sample/FOO.obj"},
                                 {std::string(kFound) + "Geometries\\Other\\foo.obj D",
                                  std::string(kFound) + "Geometries\\Sample\\FOO.obj"}},
                      LocateCase{"UpperCaseObjFromRuntime",
                                 ":Runtime:Geometries:FOO.OBJ",
                                 {"Elsewhere/foo.obj"},
                                 {std::string(kFound) + "Elsewhere\\foo.obj D"}},
                      LocateCase{"UpperCaseJpgInTextures",
                                 ":Runtime:Textures:A:skin.JPG",
                                 {"Textures/A/skin.jpg", "Elsewhere/skin.jpg"},
                                 {std::string(kFound) + "Textures\\A\\skin.jpg"}},
                      LocateCase{"PoseThroughRuntime",
                                 ":Runtime:Libraries:Pose:p.pz2",
                                 {"Libraries/Pose/p.pz2", "x/P.PZ2"},
                                 {std::string(kFound) + "Libraries\\Pose\\p.pz2",
                                  std::string(kFound) + "x\\P.PZ2 D"}},
                      LocateCase{"FullPathKeepsItsFolder",
                                 "C:\\Other\\foo.obj",
                                 {"Geometries/foo.obj"},
                                 {std::string(kFound) + "Geometries\\foo.obj D"}},
                      LocateCase{"NoMatch",
                                 ":Runtime:Geometries:foo.obj",
                                 {"Geometries/foo.obj.bak", "Geometries/oo.obj"},
                                 {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(FindReferencedFileTest, LocationAndDiscrepancyNodes) {
    file("Geometries/foo.obj");
    file("Geometries/Deeper/foo.obj");
    Node* scan = scanLineFor(":Runtime:Geometries:Deeper:foo.obj");
    FindReferencedFile(*app, *scan);
    ASSERT_EQ(scan->childCount(), 2u);
    // Depth first: a folder's own files come before its sub-folders.
    Node* top = scan->child(0);
    EXPECT_EQ(top->text(), "Found in: C:\\Poser4\\Runtime\\Geometries\\foo.obj");
    EXPECT_EQ(top->key(), "c:\\poser4\\runtime\\geometries\\\\foo.obj_RefFolder (" +
                              std::to_string(top->index()) + ")");
    EXPECT_EQ(std::make_tuple(top->tag(), top->image(), top->foreColor()),
              std::make_tuple(std::string(tag::kRefFolder), std::string("Properties"),
                              std::optional<int32_t>(0)));
    ASSERT_EQ(top->childCount(), 1u);
    Node* d = top->child(0);
    EXPECT_EQ(d->text(), "Discrepancy Found: referenced folder does not match actual folder.");
    EXPECT_EQ(std::make_tuple(d->tag(), d->image(), d->foreColor(), d->key()),
              std::make_tuple(std::string(tag::kDiscrepancy), std::string("Discrepancy"),
                              std::optional<int32_t>(255), std::string()));
    EXPECT_EQ(scan->child(1)->childCount(), 0u);
}

// Lists one folder as unreadable.
class UnreadableFolder : public FileSystem {
  public:
    using FileSystem::FileSystem;
    std::string bad;
    std::vector<FolderEntry> ListFolder(const std::string& folder) const override {
        if (folder == bad) throw PlatformError::FromNumber(err::kPermissionDenied);
        return FileSystem::ListFolder(folder);
    }
};

TEST_F(FindReferencedFileTest, UnreadableFolderIsReportedOnceAndSkipped) {
    auto fs = std::make_unique<UnreadableFolder>(DriveMap::FromPrefix(prefix.path()));
    fs->bad = "C:\\Poser4\\Runtime\\Geometries\\A";
    app->fs = std::move(fs);
    file("Geometries/A/foo.obj");
    file("Geometries/A/Sub/foo.obj");
    file("Geometries/B/foo.obj");
    Node* scan = scanLineFor(":Runtime:Geometries:B:foo.obj");
    FindReferencedFile(*app, *scan);
    EXPECT_EQ(Results(scan),
              std::vector<std::string>{std::string(kFound) + "Geometries\\B\\foo.obj"});
    ASSERT_EQ(desktop.msgBoxes.size(), 1u);
    EXPECT_EQ(desktop.msgBoxes[0].prompt, kSecurityMessage);
}

TEST_F(FindReferencedFileTest, MissingStartFolderIsReported) {
    Node* scan = scanLineFor(":Runtime:Textures:skin.jpg");
    FindReferencedFile(*app, *scan);
    EXPECT_EQ(scan->tag(), tag::kNotFound);
    ASSERT_EQ(desktop.msgBoxes.size(), 1u);
    EXPECT_EQ(desktop.msgBoxes[0].prompt, kDriveMessage);
    EXPECT_FALSE(desktop.busy());
}

TEST_F(FindReferencedFileTest, LinkedFoldersAreNotFollowed) {
    file("Geometries/A/foo.obj");
    std::filesystem::create_directory_symlink(onC("Poser4/Runtime/Geometries"),
                                              onC("Poser4/Runtime/Geometries/A/loop"));
    std::filesystem::create_directory_symlink(onC("Poser4/Runtime/Geometries/A"),
                                              onC("Poser4/Runtime/Geometries/alias"));
    Node* scan = scanLineFor(":Runtime:Geometries:A:foo.obj");
    FindReferencedFile(*app, *scan);
    EXPECT_EQ(Results(scan),
              std::vector<std::string>{std::string(kFound) + "Geometries\\A\\foo.obj"});
}

TEST_F(FindReferencedFileTest, BranchRemovedWhileSearchingIsLeftAlone) {
    for (int i = 0; i < 5; ++i) file("Geometries/F" + std::to_string(i) + "/foo.obj");
    Node* scan = scanLineFor(":Runtime:Geometries:foo.obj");
    NodeHandle reference(scan->parent());
    int calls = 0;
    desktop.onDoEvents = [&] {
        if (++calls == 2) app->tree.Remove(reference.get());
    };
    FindReferencedFile(*app, *scan);
    EXPECT_FALSE(reference);
    EXPECT_EQ(calls, 2);  // the search ends as soon as it sees its container gone
    EXPECT_FALSE(desktop.busy());
}

}  // namespace
}  // namespace bw
