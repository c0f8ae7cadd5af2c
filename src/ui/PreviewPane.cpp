#include "ui/PreviewPane.h"

#include <QLabel>
#include <QResizeEvent>
#include <QVBoxLayout>

#include "platform/FileSystem.h"
#include "preview/PreviewInfo.h"

namespace bw {

namespace {

constexpr int kReadingDelayMs = 250;
constexpr int kResizeSettleMs = 200;
const QSize kFallbackBox(256, 256);

}  // namespace

PreviewPane::PreviewPane(const FileSystem& fs, QWidget* parent)
    : PreviewPane(
          [&fs](const PreviewJob& job, const std::function<bool()>& superseded) {
              return BuildPreview(fs, job, superseded);
          },
          parent) {}

PreviewPane::PreviewPane(PreviewLoader::Work work, QWidget* parent)
    : QWidget(parent), loader_(std::move(work)) {
    setObjectName("picPreview");
    BuildParts();
    connect(&loader_, &PreviewLoader::Ready, this,
            [this](quint64, const PreviewResult& result) { Display(result); });
    readingTimer_.setSingleShot(true);
    readingTimer_.setInterval(kReadingDelayMs);
    connect(&readingTimer_, &QTimer::timeout, this, &PreviewPane::ShowReading);
    resizeTimer_.setSingleShot(true);
    resizeTimer_.setInterval(kResizeSettleMs);
    connect(&resizeTimer_, &QTimer::timeout, this, [this] {
        if (!picture_.isNull() && PictureBox() != requestedBox_) Start();
    });
}

PreviewPane::~PreviewPane() = default;

void PreviewPane::BuildParts() {
    lblPreviewPicture_ = new QLabel(this);
    lblPreviewPicture_->setObjectName("lblPreviewPicture");
    lblPreviewPicture_->setAlignment(Qt::AlignCenter);
    lblPreviewPicture_->setMinimumSize(64, 64);
    lblPreviewPicture_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    lblPreviewInfo_ = new QLabel(this);
    lblPreviewInfo_->setObjectName("lblPreviewInfo");
    lblPreviewInfo_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblPreviewInfo_->setWordWrap(true);
    lblPreviewInfo_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblPreviewInfo_->setTextFormat(Qt::PlainText);
    lblPreviewInfo_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(lblPreviewPicture_, 1);
    layout->addWidget(lblPreviewInfo_, 0);
}

void PreviewPane::ShowNode(const Node* node) { ShowRequest(PreviewRequestFor(node)); }

void PreviewPane::ShowRequest(const PreviewRequest& request) {
    request_ = request;
    Start();
}

void PreviewPane::Refresh() { Start(); }

void PreviewPane::SetReferenceCounter(ReferenceCounter counter) { counter_ = std::move(counter); }

void PreviewPane::Start() {
    if (request_.kind == PreviewKind::Nothing) {
        loader_.Cancel();
        readingTimer_.stop();
        Display({});
        return;
    }
    PreviewJob job{request_, PictureBox(), std::nullopt};
    if (request_.kind == PreviewKind::Library && counter_)
        job.referenceCount = counter_(request_.path);
    requestedBox_ = job.box;
    loader_.Request(std::move(job));
    // The old content stays while the new is read, unless that takes long enough to mislead.
    if (!readingTimer_.isActive()) readingTimer_.start();
}

void PreviewPane::ShowReading() {
    picture_ = QImage();
    lblPreviewPicture_->clear();
    lblPreviewInfo_->setText(QString::fromStdString(UnavailableText(request_.name, kReadingText)));
}

void PreviewPane::Display(const PreviewResult& result) {
    readingTimer_.stop();
    picture_ = result.picture;
    if (picture_.isNull())
        lblPreviewPicture_->clear();
    else
        lblPreviewPicture_->setPixmap(QPixmap::fromImage(picture_));
    lblPreviewInfo_->setText(result.info);
    emit Shown();
}

QSize PreviewPane::PictureBox() const {
    const QSize box = lblPreviewPicture_->contentsRect().size();
    return isVisible() && box.width() > 0 && box.height() > 0 ? box : kFallbackBox;
}

void PreviewPane::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    resizeTimer_.start();
}

}  // namespace bw
