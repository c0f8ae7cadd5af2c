#include <gtest/gtest.h>

#include "app/Settings.h"
#include "browser/Classification.h"
#include "browser/PathHelpers.h"
#include "browser/Tree.h"

namespace bw {
namespace {

struct ClassCase {
    const char* name;
    const char* picture;
    int32_t color;
    const char* tag;
};

class Classify : public ::testing::TestWithParam<ClassCase> {};

TEST_P(Classify, ByTheTailOfTheName) {
    const auto& c = GetParam();
    Tree tree;
    Settings settings;
    Node* n = tree.AddChild(nullptr);
    n->SetText(c.name);
    n->SetTag(tag::kFile);
    ClassifyFileNode(*n, settings);
    EXPECT_EQ(n->image(), c.picture) << c.name;
    EXPECT_EQ(n->expandedImage(), c.picture) << c.name;
    EXPECT_EQ(n->foreColor().value_or(-1), c.color) << c.name;
    EXPECT_EQ(n->tag(), c.tag) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Names, Classify,
    ::testing::Values(ClassCase{"Figure.CR2", "PoserFile", 64, "File"},
                      ClassCase{"Figure.cr2.txt", "File", 8421504, "File"},
                      ClassCase{"Cube.obj", "PoserFile", 64, "File"},
                      ClassCase{"abcobj", "PoserFile", 64, "File"},
                      ClassCase{"scene.mpz3", "PoserFile", 64, "File"},
                      ClassCase{"photo.jpeg", "File", 8421504, "File"},
                      ClassCase{"texture.tiff", "File", 8421504, "File"},
                      ClassCase{"x", "ImageFile", 16384, "File"},
                      ClassCase{"r2", "PoserFile", 64, "File"},
                      ClassCase{"SETUP.EXE", "SystemFile", 13107200, "SystemFile"},
                      ClassCase{"mscomctl.ocx", "SystemFile", 13107200, "SystemFile"},
                      ClassCase{"notes.sys.txt", "File", 8421504, "File"},
                      ClassCase{"\"skin\".jp\"g", "ImageFile", 16384, "File"},
                      ClassCase{"Haut-Ä.bmp", "ImageFile", 16384, "File"},
                      ClassCase{"#1 hair.hr2", "PoserFile", 64, "File"}));

TEST(Placeholders, TextPictureTagKeyAndRed) {
    Tree tree;
    Node* parent = tree.AddChild(nullptr);
    parent->SetKey("Fig.cr2 (7)");
    struct {
        Node* (*make)(Node&);
        const char* text;
        const char* image;
        const char* tagName;
    } cases[] = {
        {AddEmptyFolderNode, "(no files found in this folder)", "Unable", "Unable"},
        {AddFindLocationNode, "(Click to find actual location- this may take a few moments.)", "ClosedFolder", "Scan"},
        {AddScanForFileNode, "(Click to scan for referencing files- this could take a few moments)", "Scan",
         "ScanForFile"},
        {AddScanForFileInFileNode, "(Click to scan for files which reference this one- may take a little while)",
         "Scan", "ScanForFileInFile"},
    };
    for (const auto& c : cases) {
        Node* n = c.make(*parent);
        EXPECT_EQ(n->parent(), parent);
        EXPECT_EQ(n->text(), c.text);
        EXPECT_EQ(n->image(), c.image);
        EXPECT_EQ(n->expandedImage(), "");
        EXPECT_EQ(n->tag(), c.tagName);
        EXPECT_EQ(n->key(), std::string("Fig.cr2 (7)_") + c.text);
        EXPECT_EQ(n->foreColor().value_or(-1), 255);
        EXPECT_EQ(tree.FindByKey(n->key()), n);
    }
    EXPECT_EQ(parent->childCount(), 4u);
}

struct PathCase {
    std::string (*fn)(const std::string&);
    std::string in, out;
};

TEST(PathHelpers, Table) {
    const PathCase cases[] = {
        {FullPathToPoserPath, "C:\\Poser4\\Runtime\\Textures\\skin.jpg", "Runtime:Textures:skin.jpg"},
        {FullPathToPoserPath, "C:\\Poser4\\RUNTIME\\a", "RUNTIME:a"},
        {FullPathToPoserPath, "C:\\Poser4\\Content\\a", ""},
        {GetFolderOfPath, "C:\\Poser4\\Runtime\\Textures\\Skin.JPG", "c:\\poser4\\runtime\\textures\\"},
        {GetFolderOfPath, "skin.jpg", ""},
        {GetFileOfPath, "C:\\Poser4\\Runtime\\Textures\\Skin.JPG", "skin.jpg"},
        {GetFileOfPath, "Skin.JPG", "skin.jpg"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.fn(c.in), c.out) << c.in;
}

TEST(PathHelpers, PoserPathToFullPath) {
    struct {
        const char* path;
        const char* runtime;
        const char* expected;
    } cases[] = {
        {":Runtime:Geometries:Figure.obj", "C:\\Poser4\\Runtime", "c:\\poser4\\runtime\\geometries\\figure.obj"},
        {"Runtime:Geometries:Figure.obj", "C:\\Poser4\\Runtime", "c:\\poser4\\runtime\\runtime\\geometries\\figure.obj"},
        {":Runtime:Geometries:Figure.obj", "C:\\", "c:\\\\\\runtime\\geometries\\figure.obj"},
        {"C:\\Already\\Full.obj", "C:\\Poser4\\Runtime", "C:\\Already\\Full.obj"},
    };
    for (const auto& c : cases) EXPECT_EQ(PoserPathToFullPath(c.path, c.runtime), c.expected) << c.path;
}

}  // namespace
}  // namespace bw
