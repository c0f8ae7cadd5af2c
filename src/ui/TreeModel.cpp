#include "ui/TreeModel.h"

#include <QColor>

#include "ui/ImageList.h"
#include "ui/QtColor.h"

namespace bw {

TreeModel::TreeModel(Tree& tree, const ImageList& images, QObject* parent)
    : QAbstractItemModel(parent), tree_(tree), images_(images) {
    tree_.SetListener(this);
}

TreeModel::~TreeModel() {
    if (tree_.listener() == this) tree_.SetListener(nullptr);
}

Node* TreeModel::NodeOf(const QModelIndex& index) {
    return index.isValid() ? static_cast<Node*>(index.internalPointer()) : nullptr;
}

QModelIndex TreeModel::IndexOf(const Node* node) const {
    if (!node || !node->attached()) return {};
    return createIndex(static_cast<int>(node->row()), 0, const_cast<Node*>(node));
}

QModelIndex TreeModel::index(int row, int column, const QModelIndex& parent) const {
    if (column != 0 || row < 0) return {};
    const Node* p = NodeOf(parent);
    const auto& list = p ? p->children() : tree_.roots();
    if (static_cast<size_t>(row) >= list.size()) return {};
    return createIndex(row, 0, list[static_cast<size_t>(row)].get());
}

QModelIndex TreeModel::parent(const QModelIndex& child) const {
    const Node* n = NodeOf(child);
    return n ? IndexOf(n->parent()) : QModelIndex();
}

int TreeModel::rowCount(const QModelIndex& parent) const {
    if (parent.column() > 0) return 0;
    const Node* p = NodeOf(parent);
    return static_cast<int>(p ? p->childCount() : tree_.roots().size());
}

int TreeModel::columnCount(const QModelIndex&) const { return 1; }

bool TreeModel::hasChildren(const QModelIndex& parent) const { return rowCount(parent) > 0; }

QVariant TreeModel::data(const QModelIndex& index, int role) const {
    const Node* n = NodeOf(index);
    if (!n) return {};
    switch (role) {
        case Qt::DisplayRole:
            return QString::fromStdString(n->text());
        case Qt::DecorationRole: {
            const std::string& key =
                n->expanded() && !n->expandedImage().empty() ? n->expandedImage() : n->image();
            if (key.empty() || !images_.Has(key)) return {};
            return images_.Pixmap(key);
        }
        case Qt::ForegroundRole:
            if (auto c = n->foreColor()) return ColorFromNumber(*c);
            return {};
        case Qt::ToolTipRole:
            return {};
        default:
            return {};
    }
}

void TreeModel::BeginInsert(Node* parent, size_t first, size_t last) {
    beginInsertRows(IndexOf(parent), static_cast<int>(first), static_cast<int>(last));
}
void TreeModel::EndInsert() { endInsertRows(); }
void TreeModel::BeginRemove(Node* parent, size_t first, size_t last) {
    beginRemoveRows(IndexOf(parent), static_cast<int>(first), static_cast<int>(last));
}
void TreeModel::EndRemove() { endRemoveRows(); }
void TreeModel::BeginReset() { beginResetModel(); }
void TreeModel::EndReset() { endResetModel(); }

void TreeModel::NodeChanged(Node* node) {
    QModelIndex i = IndexOf(node);
    emit dataChanged(i, i);
}

void TreeModel::ExpandedChanged(Node* node) {
    QModelIndex i = IndexOf(node);
    emit dataChanged(i, i, {Qt::DecorationRole});
    emit expandRequested(i, node->expanded());
}

void TreeModel::SelectedChanged(Node* node) { emit selectRequested(IndexOf(node)); }

}  // namespace bw
