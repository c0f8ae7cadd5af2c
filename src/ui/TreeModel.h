#pragma once

#include <QAbstractItemModel>

#include "core/Tree.h"

namespace bw {

class ImageList;

// Shows the core tree to a Qt view. It listens to the tree's changes, so the core never touches
// a widget; expansion and selection requests of the core are passed on as signals.
class TreeModel : public QAbstractItemModel, public TreeListener {
    Q_OBJECT
  public:
    TreeModel(Tree& tree, const ImageList& images, QObject* parent = nullptr);
    ~TreeModel() override;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool hasChildren(const QModelIndex& parent = {}) const override;

    QModelIndex IndexOf(const Node* node) const;
    static Node* NodeOf(const QModelIndex& index);

    // TreeListener
    void BeginInsert(Node* parent, size_t first, size_t last) override;
    void EndInsert() override;
    void BeginRemove(Node* parent, size_t first, size_t last) override;
    void EndRemove() override;
    void BeginReset() override;
    void EndReset() override;
    void NodeChanged(Node* node) override;
    void ExpandedChanged(Node* node) override;
    void SelectedChanged(Node* node) override;

  signals:
    // The core expanded or collapsed a node; the view should follow.
    void expandRequested(const QModelIndex& index, bool expanded);
    // The core selected a node (or none); the view should follow.
    void selectRequested(const QModelIndex& index);

  private:
    Tree& tree_;
    const ImageList& images_;
};

}  // namespace bw
