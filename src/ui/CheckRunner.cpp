#include "ui/CheckRunner.h"

#include <chrono>
#include <utility>

#include "platform/PlatformError.h"

namespace bw {

namespace {

// How often deliveries come, and how long one may take before the rest waits for the next.
constexpr int kDeliveryIntervalMs = 25;
constexpr auto kDeliveryBudget = std::chrono::milliseconds(20);
// Rows per delivery (rounded up to a whole library file): a window takes a few milliseconds for
// them.
constexpr size_t kRowsPerDelivery = 1000;

}  // namespace

// Hands the check's progress and rows to the runner, on the check's thread.
class CheckRunner::Queue : public check::CheckObserver {
  public:
    explicit Queue(CheckRunner& runner) : runner_(runner) {}
    void OnProgress(const check::CheckProgress& p) override {
        std::lock_guard lock(runner_.mutex_);
        runner_.progress_ = p;
        runner_.progressChanged_ = true;
    }
    void OnRows(std::vector<check::CheckRow>&& rows) override {
        std::lock_guard lock(runner_.mutex_);
        for (auto& r : rows) runner_.queued_.push_back(std::move(r));
    }

  private:
    CheckRunner& runner_;
};

CheckRunner::CheckRunner(QObject* parent) : QObject(parent) {
    timer_.setInterval(kDeliveryIntervalMs);
    connect(&timer_, &QTimer::timeout, this, &CheckRunner::Deliver);
}

CheckRunner::~CheckRunner() {
    cancel_ = true;
    if (thread_.joinable()) thread_.join();
}

void CheckRunner::Start(check::CheckOptions options) {
    if (running_) return;
    if (thread_.joinable()) thread_.join();
    cancel_ = false;
    {
        std::lock_guard lock(mutex_);
        queued_.clear();
        progress_ = {};
        progressChanged_ = false;
        done_ = false;
        summary_ = {};
        error_.clear();
    }
    running_ = true;
    thread_ = std::thread([this, options = std::move(options)] {
        Queue queue(*this);
        check::CheckSummary summary;
        std::string error;
        try {
            summary = check::RunLibraryCheck(options, queue, cancel_);
        } catch (const PlatformError& e) {
            error = e.description();
        } catch (const std::exception& e) {
            error = e.what();
        }
        std::lock_guard lock(mutex_);
        summary_ = summary;
        error_ = std::move(error);
        done_ = true;
    });
    timer_.start();
}

void CheckRunner::Cancel() { cancel_ = true; }

void CheckRunner::Deliver() {
    const auto start = std::chrono::steady_clock::now();
    for (;;) {
        std::vector<check::CheckRow> rows;
        check::CheckProgress progress;
        bool progressChanged = false, done = false;
        {
            std::lock_guard lock(mutex_);
            if (cancel_) queued_.clear();
            while (!queued_.empty() &&
                   (rows.size() < kRowsPerDelivery || queued_.front().file == rows.back().file)) {
                rows.push_back(std::move(queued_.front()));
                queued_.pop_front();
            }
            progress = progress_;
            progressChanged = std::exchange(progressChanged_, false);
            done = done_ && queued_.empty();
        }
        if (!rows.empty() && onRows) onRows(std::move(rows));
        if (progressChanged && onProgress) onProgress(progress);
        if (done) break;
        if (std::chrono::steady_clock::now() - start >= kDeliveryBudget) return;
        std::lock_guard lock(mutex_);
        if (queued_.empty() && !done_) return;
    }
    timer_.stop();
    thread_.join();
    running_ = false;
    check::CheckSummary summary;
    std::string error;
    {
        std::lock_guard lock(mutex_);
        summary = summary_;
        error = error_;
    }
    if (onFinished) onFinished(summary, error);
}

}  // namespace bw
