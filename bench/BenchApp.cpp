#include <QApplication>
#include <QTreeView>
#include <algorithm>

#include "Bench.h"
#include "core/Desktop.h"
#include "ui/ImageList.h"
#include "ui/TreeModel.h"

namespace bw::bench {

namespace {

// Answers every box with its default and pumps events as the window does.
class BenchDesktop : public Desktop {
  public:
    int ShowMsgBox(const std::string&, int, const std::string&) override { return answer::kOK; }
    std::string ShowInputBox(const std::string&, int, const std::string&,
                             const std::string&) override {
        return {};
    }
    void ShowSystemMessage(const std::string& prompt, const std::string&) override {
        std::fprintf(stderr, "message: %s\n", prompt.c_str());
    }
    void SetCaption(const std::string& c) override { caption_ = c; }
    std::string Caption() const override { return caption_; }
    void SetBusy(bool) override {}
    void DoEvents() override {
        auto now = std::chrono::steady_clock::now();
        if (now - last_ < std::chrono::milliseconds(15)) return;
        if (started_)
            maxGap_ =
                std::max(maxGap_, std::chrono::duration<double, std::milli>(now - last_).count());
        started_ = true;
        last_ = now;
        QApplication::processEvents();
    }
    double maxGap_ = 0;
    bool started_ = false;

  private:
    std::string caption_;
    std::chrono::steady_clock::time_point last_{};
};

}  // namespace

BenchApp::BenchApp() : desktop(std::make_unique<BenchDesktop>()) {
    app = std::make_unique<AppState>(*desktop,
                                     std::make_unique<FileSystem>(DriveMap::FromDrives({})));
}

BenchApp::~BenchApp() = default;

double BenchApp::MaxPumpGapMs() const { return static_cast<BenchDesktop*>(desktop.get())->maxGap_; }

void BenchApp::ResetPumpGaps() {
    auto* d = static_cast<BenchDesktop*>(desktop.get());
    d->maxGap_ = 0;
    d->started_ = false;
}

struct BenchView::Parts {
    explicit Parts(AppState& app) : model(app.tree, images) {}
    ImageList images;
    TreeModel model;
    QTreeView view;
};

BenchView::BenchView(AppState& app) : parts(std::make_unique<Parts>(app)) {
    parts->view.setUniformRowHeights(true);
    parts->view.setModel(&parts->model);
    parts->view.resize(800, 600);
    parts->view.show();
}

BenchView::~BenchView() = default;

void BenchView::Expand(Node* node) { parts->view.setExpanded(parts->model.IndexOf(node), true); }

}  // namespace bw::bench
