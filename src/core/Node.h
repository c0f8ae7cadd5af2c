#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace bw {

class Tree;

// Node kinds, compared as exact strings.
namespace tag {
inline constexpr const char* kDrive = "Drive";
inline constexpr const char* kFolder = "Folder";
inline constexpr const char* kSystemFolder = "SystemFolder";
inline constexpr const char* kFile = "File";
inline constexpr const char* kSystemFile = "SystemFile";
inline constexpr const char* kUnable = "Unable";
inline constexpr const char* kScan = "Scan";
inline constexpr const char* kScanForFile = "ScanForFile";
inline constexpr const char* kScanForFileInFile = "ScanForFileInFile";
inline constexpr const char* kReferencedFile = "ReferencedFile";
inline constexpr const char* kReference = "Reference";
inline constexpr const char* kNotFound = "NotFound";
inline constexpr const char* kRefFolder = "RefFolder";
inline constexpr const char* kDiscrepancy = "Discrepancy";
inline constexpr const char* kRefFile = "RefFile";
}  // namespace tag

// A node of the one tree. Setters on a node that is in the tree announce the change to the tree's
// listener; a node being built outside the tree (see Tree::CreateDetached) changes silently.
class Node : public std::enable_shared_from_this<Node> {
  public:
    explicit Node(Tree* tree, int64_t index) : tree_(tree), index_(index) {}
    Node(const Node&) = delete;
    Node& operator=(const Node&) = delete;

    const std::string& key() const { return key_; }
    const std::string& text() const { return text_; }
    const std::string& tag() const { return tag_; }
    const std::string& image() const { return image_; }
    const std::string& expandedImage() const { return expandedImage_; }
    // Text colour (red in the low byte); none means the tree's default colour.
    std::optional<int32_t> foreColor() const { return foreColor_; }
    bool expanded() const { return expanded_; }
    bool selected() const { return selected_; }
    // The tree's 1-based running number of the node, given when it was created.
    int64_t index() const { return index_; }

    void SetKey(const std::string& key);
    void SetText(const std::string& text);
    void SetTag(const std::string& tag);
    void SetImage(const std::string& image);
    void SetExpandedImage(const std::string& image);
    void SetForeColor(std::optional<int32_t> color);
    // Expanded flag; the view follows it.
    void SetExpanded(bool expanded);

    Node* parent() const { return parent_; }
    const std::vector<std::shared_ptr<Node>>& children() const { return children_; }
    size_t childCount() const { return children_.size(); }
    Node* child(size_t i) const { return children_[i].get(); }
    Node* firstChild() const { return children_.empty() ? nullptr : children_.front().get(); }
    // Position among the parent's children (or among the roots).
    size_t row() const { return row_; }
    // In the tree (not detached, not removed).
    bool attached() const { return attached_; }

    // The texts from the root-level ancestor down to this node, joined by "\".
    std::string FullPath() const;

    Tree* tree() const { return tree_; }

  private:
    friend class Tree;
    void Changed();

    Tree* tree_;
    int64_t index_;
    std::string key_, text_, tag_, image_, expandedImage_;
    std::optional<int32_t> foreColor_;
    bool expanded_ = false;
    bool selected_ = false;
    bool attached_ = false;
    Node* parent_ = nullptr;
    size_t row_ = 0;
    std::vector<std::shared_ptr<Node>> children_;
};

// A reference to a node that is safe to keep across event pumping: get() answers null once the
// node has left the tree (removed itself, or with an ancestor).
class NodeHandle {
  public:
    NodeHandle() = default;
    NodeHandle(Node* node);  // NOLINT: implicit on purpose, handles stand in for nodes
    Node* get() const;
    explicit operator bool() const { return get() != nullptr; }
    Node* operator->() const { return get(); }
    bool operator==(const NodeHandle& other) const { return get() == other.get(); }
    void reset() { node_.reset(); }

  private:
    std::weak_ptr<Node> node_;
};

}  // namespace bw
