#pragma once

#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/Node.h"

namespace bw {

// What a view needs to know of the tree's changes; parent null means the root level.
class TreeListener {
  public:
    virtual ~TreeListener() = default;
    virtual void BeginInsert(Node* parent, size_t first, size_t last) = 0;
    virtual void EndInsert() = 0;
    virtual void BeginRemove(Node* parent, size_t first, size_t last) = 0;
    virtual void EndRemove() = 0;
    virtual void BeginReset() = 0;
    virtual void EndReset() = 0;
    virtual void NodeChanged(Node* node) = 0;
    virtual void ExpandedChanged(Node* node) = 0;
    virtual void SelectedChanged(Node* node) = 0;
};

// The one tree of drives, folders, files and result lines. It owns its nodes.
class Tree {
  public:
    Tree() = default;
    Tree(const Tree&) = delete;
    Tree& operator=(const Tree&) = delete;

    void SetListener(TreeListener* listener) { listener_ = listener; }
    TreeListener* listener() const { return listener_; }

    const std::vector<std::shared_ptr<Node>>& roots() const { return roots_; }
    size_t nodeCount() const { return count_; }

    // Adds a node as the last child of `parent` (null: a root-level node). `parent` may be in the
    // tree or detached; only additions to the tree are announced.
    Node* AddChild(Node* parent);
    // Adds a node as the last child of the node with `parentKey`; null when no node has that key.
    Node* AddChildOfKey(const std::string& parentKey);
    // A node outside the tree, to be built with its children and attached in one step.
    std::shared_ptr<Node> CreateDetached();
    // Appends built nodes (with their subtrees) to `parent` and announces them as one insertion.
    void AttachChildren(Node* parent, std::vector<std::shared_ptr<Node>> nodes);

    // Removes a node with its whole subtree; handles to them go null.
    void Remove(Node* node);
    // Removes every child of `node`, announced as one removal.
    void RemoveChildren(Node* node);
    // Removes every node and restarts the running numbers.
    void Clear();

    // The first node with this key, or null.
    Node* FindByKey(const std::string& key) const;
    // Visits nodes in collection order (parents before children, siblings in order); stops when
    // the visitor answers false.
    void ForEach(const std::function<bool(Node*)>& visit) const;

    // The tree's selected node (at most one).
    Node* selected() const { return selected_.get(); }
    void SetSelected(Node* node);

  private:
    friend class Node;
    void Register(Node* node);    // the node and its subtree join the key map
    void Unregister(Node* node);  // the node and its subtree leave the key map
    void KeyChanged(Node* node, const std::string& oldKey);
    std::vector<std::shared_ptr<Node>>& ChildrenOf(Node* parent) {
        return parent ? parent->children_ : roots_;
    }

    TreeListener* listener_ = nullptr;
    std::vector<std::shared_ptr<Node>> roots_;
    std::unordered_map<std::string, Node*> byKey_;
    NodeHandle selected_;
    int64_t nextIndex_ = 1;
    size_t count_ = 0;
};

}  // namespace bw
