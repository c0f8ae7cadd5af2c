#include <gtest/gtest.h>

#include "core/Classification.h"
#include "core/PathHelpers.h"
#include "core/Settings.h"
#include "core/Tree.h"

namespace bw {
namespace {

TEST(Classification, ByTheTailOfTheName) {
    // name -> "picture colour tag"; a tail test, not an extension match
    // clang-format off
    const std::pair<const char*, const char*> cases[] = {
        {"Figure.CR2", "PoserFile 64 File"}, {"abcobj", "PoserFile 64 File"},
        {"r2", "PoserFile 64 File"}, {"p", "PoserFile 64 File"}, {"scene.mpz3", "PoserFile 64 File"},
        {"photo.jpeg", "File 8421504 File"}, {"x", "ImageFile 16384 File"},
        {"SETUP.EXE", "SystemFile 13107200 SystemFile"}, {"notes.sys.txt", "File 8421504 File"},
        {"\"skin\".jp\"g", "ImageFile 16384 File"},
    };
    // clang-format on
    Tree tree;
    for (const auto& [name, expected] : cases) {
        Node* n = tree.AddChild(nullptr);
        n->SetText(name);
        n->SetTag(tag::kFile);
        ClassifyFileNode(*n, Settings{});
        EXPECT_EQ(n->expandedImage(), n->image()) << name;
        const std::string color = std::to_string(n->foreColor().value_or(-1));
        EXPECT_EQ(n->image() + " " + color + " " + n->tag(), expected) << name;
    }
}

TEST(Classification, PlaceholdersAreRedLinesKeyedUnderTheirParent) {
    Tree tree;
    Node* parent = tree.AddChild(nullptr);
    parent->SetKey("Fig.cr2 (7)");
    std::string shown;
    for (auto* make :
         {AddEmptyFolderNode, AddFindLocationNode, AddScanForFileNode, AddScanForFileInFileNode}) {
        Node* n = make(*parent);
        EXPECT_EQ(tree.FindByKey("Fig.cr2 (7)_" + n->text()), n);
        EXPECT_EQ(n->foreColor().value_or(-1), 255) << n->text();
        shown += n->image() + "|" + n->tag() + "|" + n->text() + "\n";
    }
    // clang-format off
    EXPECT_EQ(shown, "Unable|Unable|(no files found in this folder)\n"
        "ClosedFolder|Scan|(Click to find actual location- this may take a few moments.)\n"
        "Scan|ScanForFile|(Click to scan for referencing files- this could take a few moments)\n"
        "Scan|ScanForFileInFile|(Click to scan for files which reference this one- may take a little while)\n");
    // clang-format on
}

TEST(PathHelpers, ConvertBetweenPoserAndFullPaths) {
    const std::string rt = "C:\\Poser4\\Runtime";
    // clang-format off
    const std::pair<std::string, std::string> cases[] = {
        {FullPathToPoserPath(rt + "\\Textures\\skin.jpg"), "Runtime:Textures:skin.jpg"},
        {FullPathToPoserPath("C:\\Poser4\\RUNTIME\\a"), "RUNTIME:a"}, {FullPathToPoserPath("C:\\Poser4\\Content\\a"), ""},
        {GetFolderOfPath(rt + "\\Textures\\Skin.JPG"), "c:\\poser4\\runtime\\textures\\"}, {GetFolderOfPath("skin.jpg"), ""},
        {GetFileOfPath(rt + "\\Textures\\Skin.JPG"), "skin.jpg"}, {GetFileOfPath("Skin.JPG"), "skin.jpg"},
        {PoserPathToFullPath(":Runtime:Geometries:F.obj", rt), "c:\\poser4\\runtime\\geometries\\f.obj"},
        {PoserPathToFullPath("Runtime:F.obj", rt), "c:\\poser4\\runtime\\runtime\\f.obj"},
        {PoserPathToFullPath(":Runtime:F.obj", "C:\\"), "c:\\\\\\runtime\\f.obj"},
        {PoserPathToFullPath("C:\\Already\\Full.obj", rt), "C:\\Already\\Full.obj"},
    };
    // clang-format on
    for (const auto& [got, expected] : cases) EXPECT_EQ(got, expected);
}

}  // namespace
}  // namespace bw
