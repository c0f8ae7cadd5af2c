#include <gtest/gtest.h>

#include <filesystem>

#include "app/AppState.h"
#include "browser/Classification.h"
#include "browser/TreePopulation.h"
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

TEST_F(Population, DrivesEachWithThePlaceholder) {
    GetDrives(*app);
    ASSERT_EQ(app->tree.roots().size(), 2u);  // C: and Z:
    const Node* c = app->tree.roots()[0].get();
    EXPECT_EQ(c->text() + " " + c->tag() + " " + c->key(), "C: Drive C:\\ (1)");
    EXPECT_EQ(List(c, &Node::tag), "Unable");
    EXPECT_EQ(c->child(0)->key(), "C:\\ (1)_(no files found in this folder)");
}

TEST_F(Population, FoldersThenFilesEachSortedWithoutRegardToCase) {
    for (const char* d : {"b", "A", "c"}) this->c.createDir(std::string("lib/") + d);
    for (const char* f : {"Z.txt", "a.cr2", "Cube.OBJ", "photo.jpg", "setup.exe", "p"})
        this->c.createFile(std::string("lib/") + f);
    Node* lib = expandTo("C:\\lib");
    ASSERT_NE(lib, nullptr);
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
    EXPECT_EQ(folder->FullPath(), "C:\\lib\\A");
    ExpandNode(*app, *folder);  // an empty folder shows one red line
    EXPECT_EQ(List(folder), "(no files found in this folder)");
    EXPECT_EQ(folder->child(0)->foreColor().value_or(0), 255);
}

TEST_F(Population, EveryExpansionRereadsTheDiskAndAVanishedFolderKeepsItsChildren) {
    c.createFile("d/old.txt");
    Node* d = expandTo("C:\\d");
    ExpandNode(*app, *d);
    const std::string oldKey = d->child(0)->key();
    std::filesystem::remove(c.host("d/old.txt"));
    c.createFile("d/new.cr2");
    ExpandNode(*app, *d);
    EXPECT_EQ(List(d), "new.cr2");
    EXPECT_NE(d->child(0)->key(), oldKey);

    std::filesystem::remove_all(c.host("d"));
    desktop.SetCaption("Brindlewood: elsewhere");
    ExpandNode(*app, *d);
    EXPECT_EQ(List(d), "new.cr2");
    EXPECT_TRUE(desktop.msgBoxes.empty() && desktop.systemMessages.empty());
    EXPECT_EQ(desktop.Caption(), "Brindlewood");
    EXPECT_FALSE(desktop.busy());
}

TEST_F(Population, LinksAreListedButNeverWalkedIntoALoop) {
    c.createDir("d/real");
    std::filesystem::create_directory_symlink(c.host("d"), c.host("d/loop"));
    std::filesystem::create_symlink(c.host("nowhere"), c.host("d/broken.jpg"));
    Node* d = expandTo("C:\\d");
    ExpandNode(*app, *d);
    EXPECT_EQ(List(d), "loop real broken.jpg");
    Node* loop = childNamed(d, "loop");
    ExpandNode(*app, *loop);  // one level only: expansion is lazy
    EXPECT_EQ(List(loop), "loop real broken.jpg");
}

TEST_F(Population, SystemFolderOpensOnlyWithoutProtectionAndOnlyFoldersClose) {
    c.createFile("sys/x.dll");
    Node* sys = expandTo("C:\\sys");
    CollapseNode(*app, *sys);
    EXPECT_EQ(sys->expandedImage(), "ClosedFolder");
    sys->SetTag(tag::kSystemFolder);
    ExpandNode(*app, *sys);
    EXPECT_EQ(List(sys, &Node::tag), "Unable");
    app->settings.ProtectSystemFilesFolders = false;
    ExpandNode(*app, *sys);
    EXPECT_EQ(List(sys, &Node::tag), "SystemFile");
    CollapseNode(*app, *sys->child(0));
    EXPECT_EQ(sys->child(0)->expandedImage(), "SystemFile");  // a file keeps its picture
}

}  // namespace
}  // namespace bw
