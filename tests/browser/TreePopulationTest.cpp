#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "app/AppState.h"
#include "browser/Classification.h"
#include "browser/TreePopulation.h"
#include "platform/PlatformError.h"
#include "support/AppFixture.h"

namespace bw {
namespace {

using Population = test::AppFixture;

std::vector<std::string> Texts(const Node* n) {
    std::vector<std::string> out;
    for (const auto& c : n->children()) out.push_back(c->text());
    return out;
}

std::vector<std::string> Tags(const Node* n) {
    std::vector<std::string> out;
    for (const auto& c : n->children()) out.push_back(c->tag());
    return out;
}

TEST_F(Population, DrivesEachWithThePlaceholder) {
    GetDrives(*app);
    ASSERT_EQ(app->tree.roots().size(), 2u);  // C: and Z:
    Node* c = app->tree.roots()[0].get();
    EXPECT_EQ(c->text(), "C:");
    EXPECT_EQ(c->tag(), "Drive");
    EXPECT_EQ(c->key(), "C:\\ (1)");
    EXPECT_EQ(c->FullPath(), "C:");
    ASSERT_EQ(c->childCount(), 1u);
    EXPECT_EQ(c->child(0)->tag(), "Unable");
    EXPECT_EQ(c->child(0)->key(), "C:\\ (1)_(no files found in this folder)");
}

TEST_F(Population, FoldersThenFilesEachSortedWithoutRegardToCase) {
    for (const char* d : {"b", "A", "c"}) this->c.createDir(std::string("lib/") + d);
    for (const char* f : {"Z.txt", "a.cr2", "Cube.OBJ", "photo.jpg", "setup.exe", "p", "readme.txt"})
        this->c.createFile(std::string("lib/") + f);
    Node* lib = expandTo("C:\\lib");
    ASSERT_NE(lib, nullptr);
    ExpandNode(*app, *lib);
    EXPECT_EQ(Texts(lib), (std::vector<std::string>{"A", "b", "c", "a.cr2", "Cube.OBJ", "p", "photo.jpg",
                                                    "readme.txt", "setup.exe", "Z.txt"}));
    EXPECT_EQ(Tags(lib), (std::vector<std::string>{"Folder", "Folder", "Folder", "File", "File", "File", "File", "File",
                                                   "SystemFile", "File"}));
    auto placeholderTags = [&](const std::string& name) { return Tags(childNamed(lib, name)); };
    EXPECT_EQ(placeholderTags("A"), (std::vector<std::string>{"Unable"}));
    EXPECT_EQ(placeholderTags("a.cr2"), (std::vector<std::string>{"ScanForFile"}));
    EXPECT_EQ(placeholderTags("Cube.OBJ"), (std::vector<std::string>{"ScanForFileInFile"}));
    EXPECT_EQ(placeholderTags("photo.jpg"), (std::vector<std::string>{"ScanForFileInFile"}));
    EXPECT_EQ(placeholderTags("p"), (std::vector<std::string>{"ScanForFile", "ScanForFileInFile"}));
    EXPECT_TRUE(placeholderTags("readme.txt").empty());
    EXPECT_TRUE(placeholderTags("setup.exe").empty());
    Node* folder = childNamed(lib, "A");
    EXPECT_EQ(folder->image(), "ClosedFolder");
    EXPECT_EQ(folder->expandedImage(), "OpenFolder");
    EXPECT_EQ(folder->key(), "A (" + std::to_string(folder->index()) + ")");
    EXPECT_EQ(folder->FullPath(), "C:\\lib\\A");
}

TEST_F(Population, EmptyFolderShowsOneRedLine) {
    c.createDir("empty");
    Node* n = expandTo("C:\\empty");
    ExpandNode(*app, *n);
    ASSERT_EQ(n->childCount(), 1u);
    EXPECT_EQ(n->child(0)->text(), "(no files found in this folder)");
    EXPECT_EQ(n->child(0)->image(), "Unable");
    EXPECT_EQ(n->child(0)->foreColor().value_or(0), 255);
}

TEST_F(Population, EveryExpansionRereadsTheDisk) {
    c.createFile("d/old.txt");
    Node* d = expandTo("C:\\d");
    ExpandNode(*app, *d);
    const std::string oldKey = d->child(0)->key();
    std::filesystem::remove(c.host("d/old.txt"));
    c.createFile("d/new.cr2");
    ExpandNode(*app, *d);
    EXPECT_EQ(Texts(d), (std::vector<std::string>{"new.cr2"}));
    EXPECT_NE(d->child(0)->key(), oldKey);
}

TEST_F(Population, UnreadableOrVanishedFolderKeepsItsChildrenSilently) {
    c.createFile("d/a.txt");
    Node* d = expandTo("C:\\d");
    ExpandNode(*app, *d);
    std::filesystem::remove_all(c.host("d"));
    ExpandNode(*app, *d);
    EXPECT_EQ(Texts(d), (std::vector<std::string>{"a.txt"}));
    EXPECT_TRUE(desktop.msgBoxes.empty());
    EXPECT_TRUE(desktop.systemMessages.empty());
    EXPECT_EQ(desktop.Caption(), "Brindlewood");
    EXPECT_FALSE(desktop.busy());
}

TEST_F(Population, LinksAreListedButNeverWalkedIntoALoop) {
    c.createDir("d/real");
    std::filesystem::create_directory_symlink(c.host("d"), c.host("d/loop"));
    std::filesystem::create_symlink(c.host("nowhere"), c.host("d/broken.jpg"));
    Node* d = expandTo("C:\\d");
    ExpandNode(*app, *d);
    EXPECT_EQ(Texts(d), (std::vector<std::string>{"loop", "real", "broken.jpg"}));
    Node* loop = childNamed(d, "loop");
    ExpandNode(*app, *loop);  // one level only: expansion is lazy
    EXPECT_EQ(Texts(loop), (std::vector<std::string>{"loop", "real", "broken.jpg"}));
}

TEST_F(Population, CaptionSetMeanwhileIsLeftAlone) {
    c.createDir("d");
    Node* d = expandTo("C:\\d");
    desktop.SetCaption("Brindlewood: elsewhere");
    ExpandNode(*app, *d);
    EXPECT_EQ(desktop.Caption(), "Brindlewood");
    // A file node refills nothing, but the caption and cursor still go back.
    c.createFile("f.cr2");
    Node* f = expandTo("C:\\f.cr2");
    ExpandNode(*app, *f);
    EXPECT_EQ(f->childCount(), 1u);
    EXPECT_EQ(desktop.Caption(), "Brindlewood");
}

TEST_F(Population, SystemFolderOpensOnlyWithoutProtection) {
    c.createFile("sys/x.dll");
    GetDrives(*app);
    Node* drive = app->tree.roots()[0].get();
    ExpandNode(*app, *drive);
    Node* sys = childNamed(drive, "sys");
    sys->SetTag(tag::kSystemFolder);
    ExpandNode(*app, *sys);
    EXPECT_EQ(Tags(sys), (std::vector<std::string>{"Unable"}));
    app->settings.ProtectSystemFilesFolders = false;
    ExpandNode(*app, *sys);
    EXPECT_EQ(Tags(sys), (std::vector<std::string>{"SystemFile"}));
}

TEST_F(Population, CollapseClosesOnlyFolders) {
    c.createFile("d/f.cr2");
    Node* d = expandTo("C:\\d");
    CollapseNode(*app, *d);
    EXPECT_EQ(d->expandedImage(), "ClosedFolder");
    ExpandNode(*app, *d);
    Node* f = d->child(0);
    CollapseNode(*app, *f);
    EXPECT_EQ(f->expandedImage(), "PoserFile");
}

}  // namespace
}  // namespace bw
