#include "core/Node.h"

#include "core/Tree.h"

namespace bw {

void Node::Changed() {
    if (attached_ && tree_ && tree_->listener()) tree_->listener()->NodeChanged(this);
}

void Node::SetKey(const std::string& key) {
    if (key == key_) return;
    std::string old = std::move(key_);
    key_ = key;
    if (attached_ && tree_) tree_->KeyChanged(this, old);
}

void Node::SetText(const std::string& text) {
    text_ = text;
    Changed();
}

void Node::SetTag(const std::string& tag) { tag_ = tag; }

void Node::SetImage(const std::string& image) {
    image_ = image;
    Changed();
}

void Node::SetExpandedImage(const std::string& image) {
    expandedImage_ = image;
    Changed();
}

void Node::SetForeColor(std::optional<int32_t> color) {
    foreColor_ = color;
    Changed();
}

void Node::SetExpanded(bool expanded) {
    if (expanded_ == expanded) return;
    expanded_ = expanded;
    if (attached_ && tree_ && tree_->listener()) tree_->listener()->ExpandedChanged(this);
}

std::string Node::FullPath() const {
    // Build from the root down without repeated prepending.
    std::vector<const Node*> chain;
    for (const Node* n = this; n; n = n->parent_) chain.push_back(n);
    std::string path;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        if (!path.empty() || it != chain.rbegin()) path += '\\';
        path += (*it)->text_;
    }
    return path;
}

NodeHandle::NodeHandle(Node* node) {
    if (node) node_ = node->weak_from_this();
}

Node* NodeHandle::get() const {
    auto locked = node_.lock();
    // The tree is the only owner, so a live node that is not attached is being torn down.
    return locked && locked->attached() ? locked.get() : nullptr;
}

}  // namespace bw
