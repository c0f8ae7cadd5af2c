#include <gtest/gtest.h>

#include "core/Tree.h"

namespace bw {
namespace {

// What the view is told: a built subtree arrives as one insertion, nothing while it is built.
class Recorder : public TreeListener {
  public:
    std::string events;
    void BeginInsert(Node* p, size_t f, size_t l) override { Add("+", p, f, l); }
    void EndInsert() override {}
    void BeginRemove(Node* p, size_t f, size_t l) override { Add("-", p, f, l); }
    void EndRemove() override {}
    void BeginReset() override { events += "reset"; }
    void EndReset() override {}
    void NodeChanged(Node*) override {}
    void ExpandedChanged(Node*) override {}
    void SelectedChanged(Node*) override {}

  private:
    void Add(const char* what, Node* p, size_t f, size_t l) {
        events += what + p->text() + " " + std::to_string(f) + ".." + std::to_string(l) + ", ";
    }
};

TEST(Tree, KeysHandlesRunningNumbersAndWhatTheViewHears) {
    Tree tree;
    Recorder rec;
    Node* root = tree.AddChild(nullptr);
    root->SetText("C:");
    tree.SetListener(&rec);
    std::vector<std::shared_ptr<Node>> kids;
    for (const char* t : {"a", "b", "c"}) {
        kids.push_back(tree.CreateDetached());
        kids.back()->SetText(t);
        kids.back()->SetKey(t);
        tree.AddChild(kids.back().get())->SetText("x");
    }
    tree.AttachChildren(root, std::move(kids));
    tree.Remove(root->child(1));
    EXPECT_EQ(tree.FindByKey("b"), nullptr);
    Node* c = tree.FindByKey("c");
    ASSERT_EQ(c ? c->child(0)->FullPath() : "", "C:\\c\\x");
    NodeHandle hRoot(root), hX(c->child(0));
    EXPECT_GT(tree.AddChild(root)->index(), c->child(0)->index());  // numbers are never reused
    tree.RemoveChildren(root);
    EXPECT_EQ(hRoot.get(), root);
    EXPECT_EQ(hX.get(), nullptr);
    EXPECT_EQ(rec.events, "+C: 0..2, -C: 1..1, +C: 2..2, -C: 0..2, ");
    tree.SetListener(nullptr);
    tree.Clear();
    EXPECT_EQ(hRoot.get(), nullptr);
}

}  // namespace
}  // namespace bw
