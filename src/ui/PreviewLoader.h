#pragma once

#include <QObject>
#include <QThreadPool>
#include <atomic>
#include <functional>
#include <mutex>
#include <optional>

#include "ui/PreviewWork.h"

namespace bw {

// Runs preview work off the user-interface thread, one job at a time, newest request first: a
// request replaces the one still waiting, and only the newest request's result is delivered.
// Results come back on the thread that owns the loader.
class PreviewLoader : public QObject {
    Q_OBJECT

  public:
    // The work for one job; it may poll `superseded` to give up early.
    using Work = std::function<PreviewResult(const PreviewJob& job,
                                             const std::function<bool()>& superseded)>;

    explicit PreviewLoader(Work work, QObject* parent = nullptr);
    // Waits for the job in hand (if any); its result is dropped.
    ~PreviewLoader() override;

    // Queues a job and makes every earlier one stale; answers its generation number.
    quint64 Request(PreviewJob job);
    // Makes every earlier job stale without queuing another.
    void Cancel();
    quint64 generation() const { return generation_.load(); }
    // No job running or waiting (for tests and shutdown).
    bool Idle() const;

  signals:
    // The result of the newest request; never emitted for a stale one.
    void Ready(quint64 generation, const bw::PreviewResult& result);

  private:
    void RunJobs();

    Work work_;
    QThreadPool pool_;
    std::atomic<quint64> generation_{0};
    mutable std::mutex mutex_;
    std::optional<PreviewJob> waiting_;  // guarded by mutex_
    quint64 waitingGeneration_ = 0;      // guarded by mutex_
    bool running_ = false;               // guarded by mutex_
};

}  // namespace bw
