#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "browser/Tree.h"

namespace bw {
namespace {

// Records the notifications, and checks the tree is consistent when each one arrives.
class Recorder : public TreeListener {
public:
    std::vector<std::string> events;
    void BeginInsert(Node* p, size_t f, size_t l) override { add("+", p, f, l); }
    void EndInsert() override {}
    void BeginRemove(Node* p, size_t f, size_t l) override { add("-", p, f, l); }
    void EndRemove() override {}
    void BeginReset() override { events.push_back("reset"); }
    void EndReset() override {}
    void NodeChanged(Node* n) override { events.push_back("changed " + n->text()); }
    void ExpandedChanged(Node* n) override { events.push_back("expanded " + n->text()); }
    void SelectedChanged(Node*) override { events.push_back("selected"); }

private:
    void add(const char* what, Node* p, size_t f, size_t l) {
        events.push_back(std::string(what) + (p ? p->text() : "<root>") + " " + std::to_string(f) + ".." +
                         std::to_string(l));
    }
};

TEST(Tree, HandlesKnowWhenTheirNodeLeftTheTree) {
    Tree tree;
    Node* drive = tree.AddChild(nullptr);
    drive->SetText("C:");
    Node* folder = tree.AddChild(drive);
    folder->SetText("Poser4");
    Node* file = tree.AddChild(folder);
    file->SetText("a.cr2");
    NodeHandle hDrive(drive), hFolder(folder), hFile(file);
    EXPECT_EQ(hFile.get(), file);
    EXPECT_EQ(file->FullPath(), "C:\\Poser4\\a.cr2");
    tree.RemoveChildren(drive);
    EXPECT_EQ(hDrive.get(), drive);
    EXPECT_EQ(hFolder.get(), nullptr);
    EXPECT_EQ(hFile.get(), nullptr);
    tree.Clear();
    EXPECT_EQ(hDrive.get(), nullptr);
    EXPECT_EQ(tree.nodeCount(), 0u);
}

TEST(Tree, BuiltSubtreesArriveAsOneInsertion) {
    Tree tree;
    Recorder rec;
    tree.SetListener(&rec);
    Node* root = tree.AddChild(nullptr);
    root->SetText("C:");
    rec.events.clear();
    std::vector<std::shared_ptr<Node>> kids;
    for (int i = 0; i < 3; ++i) {
        auto k = tree.CreateDetached();
        k->SetText("k" + std::to_string(i));
        k->SetKey("k" + std::to_string(i) + " (" + std::to_string(k->index()) + ")");
        tree.AddChild(k.get())->SetKey("sub" + std::to_string(i));
        kids.push_back(k);
    }
    EXPECT_TRUE(rec.events.empty());  // nothing announced while building
    tree.AttachChildren(root, std::move(kids));
    EXPECT_EQ(rec.events, (std::vector<std::string>{"+C: 0..2"}));
    EXPECT_EQ(tree.nodeCount(), 7u);
    ASSERT_NE(tree.FindByKey("sub2"), nullptr);
    EXPECT_EQ(tree.FindByKey("sub2")->FullPath(), "C:\\k2\\");
    EXPECT_EQ(root->child(2)->row(), 2u);
}

TEST(Tree, RemovalRenumbersRowsAndForgetsKeys) {
    Tree tree;
    Recorder rec;
    tree.SetListener(&rec);
    Node* root = tree.AddChild(nullptr);
    root->SetText("C:");
    for (const char* t : {"a", "b", "c"}) {
        Node* n = tree.AddChild(root);
        n->SetText(t);
        n->SetKey(t);
    }
    rec.events.clear();
    tree.Remove(root->child(0));
    EXPECT_EQ(rec.events, (std::vector<std::string>{"-C: 0..0"}));
    EXPECT_EQ(root->child(0)->row(), 0u);
    EXPECT_EQ(root->child(1)->row(), 1u);
    EXPECT_EQ(tree.FindByKey("a"), nullptr);
    EXPECT_EQ(tree.FindByKey("c"), root->child(1));
}

TEST(Tree, RunningNumbersAreNeverReusedUntilCleared) {
    Tree tree;
    Node* a = tree.AddChild(nullptr);
    Node* b = tree.AddChild(a);
    const int64_t bIndex = b->index();
    tree.Remove(b);
    EXPECT_GT(tree.AddChild(a)->index(), bIndex);
    tree.Clear();
    EXPECT_EQ(tree.AddChild(nullptr)->index(), 1);
}

TEST(Tree, ForEachVisitsInCollectionOrder) {
    Tree tree;
    Node* c = tree.AddChild(nullptr);
    c->SetText("C:");
    Node* a = tree.AddChild(c);
    a->SetText("a");
    tree.AddChild(a)->SetText("a1");
    tree.AddChild(c)->SetText("b");
    tree.AddChild(nullptr)->SetText("D:");
    std::vector<std::string> seen;
    tree.ForEach([&](Node* n) {
        seen.push_back(n->text());
        return n->text() != "b";
    });
    EXPECT_EQ(seen, (std::vector<std::string>{"C:", "a", "a1", "b"}));
}

}  // namespace
}  // namespace bw
