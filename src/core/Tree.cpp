#include "core/Tree.h"

namespace bw {

Node* Tree::AddChild(Node* parent) {
    auto node = std::make_shared<Node>(this, nextIndex_++);
    Node* raw = node.get();
    if (parent && !parent->attached_) {
        node->parent_ = parent;
        node->row_ = parent->children_.size();
        parent->children_.push_back(std::move(node));
        return raw;
    }
    auto& siblings = ChildrenOf(parent);
    const size_t row = siblings.size();
    if (listener_) listener_->BeginInsert(parent, row, row);
    node->parent_ = parent;
    node->row_ = row;
    node->attached_ = true;
    siblings.push_back(std::move(node));
    ++count_;
    if (listener_) listener_->EndInsert();
    return raw;
}

Node* Tree::AddChildOfKey(const std::string& parentKey) {
    Node* parent = FindByKey(parentKey);
    return parent ? AddChild(parent) : nullptr;
}

std::shared_ptr<Node> Tree::CreateDetached() { return std::make_shared<Node>(this, nextIndex_++); }

void Tree::AttachChildren(Node* parent, std::vector<std::shared_ptr<Node>> nodes) {
    if (nodes.empty()) return;
    if (parent && !parent->attached_) {
        for (auto& n : nodes) {
            n->parent_ = parent;
            n->row_ = parent->children_.size();
            parent->children_.push_back(std::move(n));
        }
        return;
    }
    auto& siblings = ChildrenOf(parent);
    const size_t first = siblings.size();
    if (listener_) listener_->BeginInsert(parent, first, first + nodes.size() - 1);
    siblings.reserve(first + nodes.size());
    for (auto& n : nodes) {
        n->parent_ = parent;
        n->row_ = siblings.size();
        siblings.push_back(std::move(n));
        Register(siblings.back().get());
    }
    if (listener_) listener_->EndInsert();
}

void Tree::Register(Node* node) {
    node->attached_ = true;
    ++count_;
    if (!node->key_.empty()) byKey_.emplace(node->key_, node);
    for (auto& c : node->children_) Register(c.get());
}

void Tree::Unregister(Node* node) {
    node->attached_ = false;
    node->selected_ = false;
    --count_;
    if (!node->key_.empty()) {
        auto it = byKey_.find(node->key_);
        if (it != byKey_.end() && it->second == node) byKey_.erase(it);
    }
    for (auto& c : node->children_) Unregister(c.get());
}

void Tree::KeyChanged(Node* node, const std::string& oldKey) {
    if (!oldKey.empty()) {
        auto it = byKey_.find(oldKey);
        if (it != byKey_.end() && it->second == node) byKey_.erase(it);
    }
    if (!node->key_.empty()) byKey_.emplace(node->key_, node);
}

void Tree::Remove(Node* node) {
    if (!node || !node->attached_) return;
    auto& siblings = ChildrenOf(node->parent_);
    const size_t row = node->row_;
    if (listener_) listener_->BeginRemove(node->parent_, row, row);
    // Keep the node alive until the view has let go of it.
    std::shared_ptr<Node> keep = siblings[row];
    Unregister(node);
    siblings.erase(siblings.begin() + static_cast<long>(row));
    for (size_t i = row; i < siblings.size(); ++i) siblings[i]->row_ = i;
    if (listener_) listener_->EndRemove();
}

void Tree::RemoveChildren(Node* node) {
    if (!node) return;
    if (!node->attached_) {
        node->children_.clear();
        return;
    }
    if (node->children_.empty()) return;
    if (listener_) listener_->BeginRemove(node, 0, node->children_.size() - 1);
    std::vector<std::shared_ptr<Node>> keep;
    keep.swap(node->children_);
    for (auto& c : keep) Unregister(c.get());
    if (listener_) listener_->EndRemove();
}

void Tree::Clear() {
    if (listener_) listener_->BeginReset();
    std::vector<std::shared_ptr<Node>> keep;
    keep.swap(roots_);
    for (auto& r : keep) Unregister(r.get());
    byKey_.clear();
    count_ = 0;
    nextIndex_ = 1;
    selected_.reset();
    if (listener_) listener_->EndReset();
}

Node* Tree::FindByKey(const std::string& key) const {
    auto it = byKey_.find(key);
    return it == byKey_.end() ? nullptr : it->second;
}

void Tree::ForEach(const std::function<bool(Node*)>& visit) const {
    // Iterative pre-order walk, so deep trees cannot overflow the stack.
    std::vector<std::pair<const std::vector<std::shared_ptr<Node>>*, size_t>> stack{{&roots_, 0}};
    while (!stack.empty()) {
        auto& [list, pos] = stack.back();
        if (pos >= list->size()) {
            stack.pop_back();
            continue;
        }
        Node* n = (*list)[pos++].get();
        if (!visit(n)) return;
        if (!n->children_.empty()) stack.push_back({&n->children_, 0});
    }
}

void Tree::SetSelected(Node* node) {
    Node* old = selected_.get();
    if (old == node) return;
    if (old) old->selected_ = false;
    selected_ = NodeHandle(node);
    if (node) node->selected_ = true;
    if (listener_) listener_->SelectedChanged(node);
}

}  // namespace bw
