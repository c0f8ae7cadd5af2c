#include <gtest/gtest.h>

#include <filesystem>

#include "core/Classification.h"
#include "core/TreePopulation.h"
#include "support/AppFixture.h"

namespace bw {
namespace {

using Population = test::AppFixture;

// The children's texts (or tags), space-separated.
std::string List(const Node* n, const std::string& (Node::*field)() const = &Node::text) {
    std::string out;
    for (const auto& c : n->children()) out += (out.empty() ? "" : " ") + ((*c).*field)();
    return out;
}

TEST_F(Population, DrivesThenFoldersThenFilesEachSortedWithoutRegardToCase) {
    GetDrives(*app);
    ASSERT_EQ(app->tree.roots().size(), 2u);  // C: and Z:
    const Node* drive = app->tree.roots()[0].get();
    EXPECT_EQ(
        drive->text() + " " + drive->tag() + " " + drive->key() + " " + drive->child(0)->key(),
        "C: Drive C:\\ (1) C:\\ (1)_(no files found in this folder)");
    for (const char* d : {"b", "A", "c"}) c.createDir(std::string("lib/") + d);
    for (const char* f : {"Z.txt", "a.cr2", "Cube.OBJ", "photo.jpg", "setup.exe", "p"})
        c.createFile(std::string("lib/") + f);
    Node* lib = expandTo("C:\\lib");
    ExpandNode(*app, *lib);
    EXPECT_EQ(List(lib), "A b c a.cr2 Cube.OBJ p photo.jpg setup.exe Z.txt");
    EXPECT_EQ(List(lib, &Node::tag), "Folder Folder Folder File File File File SystemFile File");
    std::string placeholders;  // "p": both lists hold the empty tail
    for (const auto& n : lib->children()) placeholders += List(n.get(), &Node::tag) + "|";
    EXPECT_EQ(placeholders,
              "Unable|Unable|Unable|ScanForFile|ScanForFileInFile|ScanForFile ScanForFileInFile|"
              "ScanForFileInFile|||");
    Node* folder = lib->child(0);
    EXPECT_EQ(folder->image() + " " + folder->expandedImage(), "ClosedFolder OpenFolder");
    EXPECT_EQ(folder->key(), "A (" + std::to_string(folder->index()) + ")");
    ExpandNode(*app, *folder);  // an empty folder shows one line
    EXPECT_EQ(List(folder), "(no files found in this folder)");
}

TEST_F(Population, RereadOnEveryExpansionLinksNotWalkedAndAVanishedFolderKeptAsItWas) {
    c.createFile("d/old.txt");
    Node* d = expandTo("C:\\d");
    ExpandNode(*app, *d);
    ASSERT_EQ(List(d), "old.txt");
    std::filesystem::remove(c.host("d/old.txt"));
    c.createDir("d/real");
    std::filesystem::create_directory_symlink(c.host("d"), c.host("d/loop"));
    std::filesystem::create_symlink(c.host("nowhere"), c.host("d/broken.jpg"));
    ExpandNode(*app, *d);
    EXPECT_EQ(List(d), "loop real broken.jpg");
    Node* loop = childNamed(d, "loop");
    ExpandNode(*app, *loop);  // one level only: expansion is lazy
    EXPECT_EQ(List(loop), "loop real broken.jpg");

    std::filesystem::remove_all(c.host("d"));
    c.createFile("D/other.txt");  // another folder, not the node's under another spelling
    desktop.SetCaption("Brindlewood: elsewhere");
    ExpandNode(*app, *d);
    EXPECT_EQ(List(d), "loop real broken.jpg");
    EXPECT_TRUE(desktop.msgBoxes.empty() && desktop.systemMessages.empty());
    EXPECT_EQ(desktop.Caption(), "Brindlewood");
    EXPECT_FALSE(desktop.busy());
}

TEST_F(Population, NamesAWindowsPathCanNotCarryAreNotListed) {
    // Each of these, joined into a Windows path, would name another entry: the real sub\victim.txt,
    // a file outside the folder, or the folder itself again.
    for (const char* f : {"lib/sub/victim.txt", "lib/sub\\victim.txt", "lib/..\\Keep\\keep.txt",
                          "lib/a\\../x.cr2", "Keep/keep.txt"})
        c.createFile(f, "x");
    Node* lib = expandTo("C:\\lib");
    ExpandNode(*app, *lib);
    EXPECT_EQ(List(lib), "sub");
    ExpandNode(*app, *lib->child(0));
    EXPECT_EQ(List(lib->child(0)), "victim.txt");
}

TEST_F(Population, SystemFolderOpensOnlyWithoutProtectionAndOnlyFoldersClose) {
    c.createFile("sys/x.dll");
    Node* sys = expandTo("C:\\sys");
    sys->SetTag(tag::kSystemFolder);
    ExpandNode(*app, *sys);
    EXPECT_EQ(List(sys, &Node::tag), "Unable");
    app->settings.ProtectSystemFilesFolders = false;
    ExpandNode(*app, *sys);
    EXPECT_EQ(List(sys, &Node::tag), "SystemFile");
    CollapseNode(*app, *sys->child(0));  // a file keeps its picture
    EXPECT_EQ(sys->child(0)->expandedImage(), "SystemFile");
}

}  // namespace
}  // namespace bw
