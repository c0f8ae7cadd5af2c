#pragma once

#include <QObject>
#include <QTimer>
#include <atomic>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "check/LibraryCheck.h"

namespace bw {

// Runs a library check on a thread of its own. What the check hands over is queued and delivered
// on the runner's thread from a timer, a little at a time, so a window fed by it never waits on
// the check nor spends long on one delivery.
class CheckRunner : public QObject {
    Q_OBJECT
  public:
    explicit CheckRunner(QObject* parent = nullptr);
    // Cancels a check still running and waits for its thread.
    ~CheckRunner() override;

    // Starts a check; ignored while one runs.
    void Start(check::CheckOptions options);
    // Asks the running check to stop; it finishes (onFinished, summary.cancelled) shortly after.
    // Rows not yet delivered are dropped, so the stop shows at once; those delivered are whole
    // library files.
    void Cancel();
    // From Start until onFinished has been called.
    bool running() const { return running_; }

    // Deliveries, always on the runner's thread.
    std::function<void(const check::CheckProgress&)> onProgress;
    std::function<void(std::vector<check::CheckRow>&&)> onRows;
    // The end of a check: its summary, or why it could not run (then `error` is not empty).
    std::function<void(const check::CheckSummary&, const std::string& error)> onFinished;

  private:
    class Queue;
    void Deliver();

    QTimer timer_;
    std::thread thread_;
    std::atomic<bool> cancel_{false};
    bool running_ = false;

    // Shared with the check's thread.
    std::mutex mutex_;
    std::deque<check::CheckRow> queued_;
    check::CheckProgress progress_;
    bool progressChanged_ = false;
    bool done_ = false;
    check::CheckSummary summary_;
    std::string error_;
};

}  // namespace bw
