#include "ui/PreviewLoader.h"

#include <QMetaObject>

namespace bw {

PreviewLoader::PreviewLoader(Work work, QObject* parent) : QObject(parent), work_(std::move(work)) {
    pool_.setMaxThreadCount(1);
}

PreviewLoader::~PreviewLoader() {
    Cancel();
    pool_.waitForDone();
}

quint64 PreviewLoader::Request(PreviewJob job) {
    const quint64 generation = ++generation_;
    std::lock_guard lock(mutex_);
    waiting_ = std::move(job);
    waitingGeneration_ = generation;
    if (!running_) {
        running_ = true;
        pool_.start([this] { RunJobs(); });
    }
    return generation;
}

void PreviewLoader::Cancel() {
    ++generation_;
    std::lock_guard lock(mutex_);
    waiting_.reset();
}

bool PreviewLoader::Idle() const {
    std::lock_guard lock(mutex_);
    return !running_;
}

// One worker drains the single waiting slot, so holding an arrow key through a folder queues no
// backlog: whatever was selected while a picture decoded is skipped, bar the newest.
void PreviewLoader::RunJobs() {
    for (;;) {
        PreviewJob job;
        quint64 generation = 0;
        {
            std::lock_guard lock(mutex_);
            if (!waiting_) {
                running_ = false;
                return;
            }
            job = std::move(*waiting_);
            waiting_.reset();
            generation = waitingGeneration_;
        }
        const auto superseded = [this, generation] { return generation_.load() != generation; };
        PreviewResult result = work_(job, superseded);
        if (superseded()) continue;
        // Checked again on arrival: a newer request may have come while the result travelled.
        QMetaObject::invokeMethod(
            this,
            [this, generation, result = std::move(result)] {
                if (generation == generation_.load()) emit Ready(generation, result);
            },
            Qt::QueuedConnection);
    }
}

}  // namespace bw
