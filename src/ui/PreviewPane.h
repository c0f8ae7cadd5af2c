#pragma once

#include <QImage>
#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "preview/PreviewRequest.h"
#include "ui/PreviewLoader.h"

class QLabel;

namespace bw {

class FileSystem;
class Node;

// The preview pane beside the tree: a picture above a few lines of facts about the selected node.
// Everything slow happens on a worker thread; the newest selection wins.
class PreviewPane : public QWidget {
    Q_OBJECT

  public:
    // How many references the index knows a library file (Windows path) to hold; none when the
    // index is not fresh. Asked on the user-interface thread, once per selection.
    using ReferenceCounter = std::function<std::optional<int64_t>(const std::string& path)>;

    // Reads through `fs`, which must outlive the pane (it is used from the worker thread, read
    // only).
    explicit PreviewPane(const FileSystem& fs, QWidget* parent = nullptr);
    // With other work in place of the real readers (tests).
    explicit PreviewPane(PreviewLoader::Work work, QWidget* parent = nullptr);
    ~PreviewPane() override;

    // Shows the node (null: nothing). Cheap: call it on every selection change.
    void ShowNode(const Node* node);
    void ShowRequest(const PreviewRequest& request);
    // Shows the current request again (after its file changed).
    void Refresh();
    void SetReferenceCounter(ReferenceCounter counter);

    const PreviewRequest& request() const { return request_; }
    // The picture as decoded for the pane (null when none is shown).
    const QImage& picture() const { return picture_; }

  signals:
    // A result for the current request is on screen.
    void Shown();

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void BuildParts();
    void Start();
    void Display(const PreviewResult& result);
    void ShowReading();
    QSize PictureBox() const;

    PreviewLoader loader_;
    ReferenceCounter counter_;
    PreviewRequest request_;
    QImage picture_;
    QSize requestedBox_;
    QLabel* lblPreviewPicture_ = nullptr;
    QLabel* lblPreviewInfo_ = nullptr;
    QTimer readingTimer_;  // says "Reading..." only when a result is slow to come
    QTimer resizeTimer_;   // decodes again for the new size once resizing pauses
};

}  // namespace bw
