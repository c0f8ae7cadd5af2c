#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "browser/Tree.h"

namespace bw {
namespace {

TEST(Tree, HandlesKeysAndRunningNumbersFollowTheNodesOut) {
    Tree tree;
    Node* root = tree.AddChild(nullptr);
    root->SetText("C:");
    std::vector<std::shared_ptr<Node>> kids;
    for (const char* t : {"a", "b", "c"}) {
        auto k = tree.CreateDetached();
        k->SetText(t);
        k->SetKey(t);
        tree.AddChild(k.get())->SetText("x");
        kids.push_back(k);
    }
    tree.AttachChildren(root, std::move(kids));
    tree.Remove(root->child(0));
    EXPECT_EQ(tree.nodeCount(), 5u);
    EXPECT_EQ(tree.FindByKey("a"), nullptr);
    Node* c = tree.FindByKey("c");
    ASSERT_TRUE(c);
    EXPECT_EQ(c->row(), 1u);
    EXPECT_EQ(c->child(0)->FullPath(), "C:\\c\\x");

    NodeHandle hRoot(root), hC(c), hX(c->child(0));
    const int64_t last = c->child(0)->index();
    EXPECT_GT(tree.AddChild(root)->index(), last);  // running numbers are never reused
    tree.RemoveChildren(root);
    EXPECT_EQ(hRoot.get(), root);
    EXPECT_EQ(hC.get(), nullptr);
    EXPECT_EQ(hX.get(), nullptr);
    tree.Clear();
    EXPECT_EQ(hRoot.get(), nullptr);
    EXPECT_EQ(tree.AddChild(nullptr)->index(), 1);
}


// What the view is told: a built subtree arrives as one insertion, nothing while it is built.
class Recorder : public TreeListener {
public:
    std::vector<std::string> events;
    void BeginInsert(Node* p, size_t f, size_t l) override { Add("+", p, f, l); }
    void EndInsert() override {}
    void BeginRemove(Node* p, size_t f, size_t l) override { Add("-", p, f, l); }
    void EndRemove() override {}
    void BeginReset() override { events.push_back("reset"); }
    void EndReset() override {}
    void NodeChanged(Node*) override {}
    void ExpandedChanged(Node*) override {}
    void SelectedChanged(Node*) override {}

private:
    void Add(const char* what, Node* p, size_t f, size_t l) {
        events.push_back(what + p->text() + " " + std::to_string(f) + ".." + std::to_string(l));
    }
};

TEST(Tree, ViewHearsOneInsertionPerFillAndTheRightRemovalRange) {
    Tree tree;
    Recorder rec;
    Node* root = tree.AddChild(nullptr);
    root->SetText("C:");
    tree.SetListener(&rec);
    std::vector<std::shared_ptr<Node>> kids;
    for (int i = 0; i < 3; ++i) {
        kids.push_back(tree.CreateDetached());
        tree.AddChild(kids.back().get());
    }
    tree.AttachChildren(root, std::move(kids));
    tree.Remove(root->child(1));
    tree.RemoveChildren(root);
    EXPECT_EQ(rec.events, (std::vector<std::string>{"+C: 0..2", "-C: 1..1", "-C: 0..1"}));
    tree.SetListener(nullptr);
}

}  // namespace
}  // namespace bw
