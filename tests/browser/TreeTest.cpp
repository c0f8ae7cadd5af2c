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

}  // namespace
}  // namespace bw
