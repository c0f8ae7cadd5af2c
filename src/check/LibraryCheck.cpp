#include "check/LibraryCheck.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <future>
#include <mutex>
#include <optional>
#include <thread>
#include <unordered_set>
#include <utility>

#include "check/CheckCache.h"
#include "check/LibraryReferenceParser.h"
#include "check/ReferenceResolver.h"
#include "check/RuntimeIndex.h"

namespace bw::check {

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kProgressEvery = std::chrono::milliseconds(30);
constexpr auto kBatchEvery = std::chrono::milliseconds(50);
constexpr size_t kBatchRows = 4096;
constexpr size_t kWakeEvery = 64;  // files read before the checking thread is woken

// Turns a file's references into rows, counts them, and hands them on in batches.
class RowSink {
  public:
    RowSink(CheckObserver& observer, CheckSummary& summary, ReferenceResolver& resolver)
        : observer_(observer), summary_(summary), resolver_(resolver) {}

    void AddFile(const std::string& file, const std::vector<ExtractedReference>& refs) {
        for (const auto& ref : refs) {
            Resolution r = resolver_.Resolve(ref.path);
            Add({file, ref.line, ref.keyword, ref.path, r.status, std::move(r.candidates), {}});
            ++summary_.references;
        }
        ++done_;
        Tick();
    }

    void AddUnreadable(const std::string& path, const std::string& reason, bool isFile) {
        Add({path, 0, std::nullopt, {}, RefStatus::Unreadable, {}, reason});
        if (isFile) ++done_;
        Tick();
    }

    void Progress(CheckPhase phase) {
        observer_.OnProgress({phase, done_, summary_.files});
        lastProgress_ = Clock::now();
    }

    void Flush() {
        if (!batch_.empty()) observer_.OnRows(std::move(batch_));
        batch_.clear();
        lastBatch_ = Clock::now();
    }

    // Lets batches and progress out when they are due.
    void Tick() {
        const auto now = Clock::now();
        if (batch_.size() >= kBatchRows || (!batch_.empty() && now - lastBatch_ >= kBatchEvery))
            Flush();
        if (now - lastProgress_ >= kProgressEvery) Progress(CheckPhase::Checking);
    }

  private:
    void Add(CheckRow row) {
        ++summary_.counts[static_cast<size_t>(row.status)];
        batch_.push_back(std::move(row));
    }

    CheckObserver& observer_;
    CheckSummary& summary_;
    ReferenceResolver& resolver_;
    std::vector<CheckRow> batch_;
    size_t done_ = 0;
    Clock::time_point lastBatch_ = Clock::now(), lastProgress_ = Clock::now();
};

struct ParsedFile {
    size_t job = 0;  // index into the list of files to read
    std::vector<ExtractedReference> refs;
    std::string error;
};

// Reads the listed files on a few threads and hands each result back to the checking thread.
class ReaderPool {
  public:
    ReaderPool(const std::vector<const LibraryFileEntry*>& jobs, unsigned threads, uint64_t sizeCap,
               const std::atomic<bool>& cancel)
        : jobs_(jobs), sizeCap_(sizeCap), cancel_(cancel), working_(threads) {
        for (unsigned i = 0; i < threads; ++i) threads_.emplace_back([this] { Work(); });
    }
    ~ReaderPool() {
        for (auto& t : threads_) t.join();
    }

    // Waits up to `timeout` for finished files and takes them all; empty when none came.
    std::deque<ParsedFile> Take(std::chrono::milliseconds timeout) {
        std::unique_lock lock(mutex_);
        ready_.wait_for(lock, timeout, [this] { return !done_.empty() || working_ == 0; });
        return std::exchange(done_, {});
    }
    // True once every thread has stopped and every result was taken.
    bool Finished() {
        std::lock_guard lock(mutex_);
        return working_ == 0 && done_.empty();
    }

  private:
    void Work() {
        LibraryReferenceParser parser;
        for (;;) {
            const size_t job = next_.fetch_add(1);
            if (job >= jobs_.size() || cancel_.load(std::memory_order_relaxed)) break;
            const LibraryFileEntry& file = *jobs_[job];
            parser.Reset();
            ParsedFile result{
                job, {}, ReadLibraryFile(file.path, file.compressed, sizeCap_, parser, &cancel_)};
            // A read cut short by Cancel is no result.
            if (cancel_.load(std::memory_order_relaxed)) break;
            if (result.error.empty()) {
                parser.Finish();
                result.refs = parser.TakeReferences();
            }
            // The checking thread looks in now and then; a wake-up per file would cost more.
            std::lock_guard lock(mutex_);
            done_.push_back(std::move(result));
            if (done_.size() % kWakeEvery == 0) ready_.notify_one();
        }
        std::lock_guard lock(mutex_);
        --working_;
        ready_.notify_one();
    }

    const std::vector<const LibraryFileEntry*>& jobs_;
    const uint64_t sizeCap_;
    const std::atomic<bool>& cancel_;
    std::atomic<size_t> next_{0};
    std::mutex mutex_;
    std::condition_variable ready_;
    std::deque<ParsedFile> done_;
    unsigned working_;  // threads still running; set before they start
    std::vector<std::thread> threads_;
};

unsigned ThreadCount(unsigned requested, size_t jobs) {
    unsigned n = requested ? requested : std::max(1u, std::thread::hardware_concurrency());
    return static_cast<unsigned>(std::min<size_t>(n, jobs));
}

}  // namespace

bool CheckSummary::HasProblems() const {
    for (int s = 0; s < kStatusCount; ++s)
        if (counts[s] > 0 && IsProblem(static_cast<RefStatus>(s))) return true;
    return false;
}

CheckSummary RunLibraryCheck(const CheckOptions& options, CheckObserver& observer,
                             const std::atomic<bool>& cancel) {
    CheckSummary summary;
    observer.OnProgress({CheckPhase::Walking, 0, 0});
    // The cache is opened and read while the folders are walked.
    std::string runtime = options.runtime;
    while (runtime.size() > 1 && runtime.back() == '/') runtime.pop_back();
    std::optional<CheckCache> cache;
    auto loading = std::async(std::launch::async, [&] {
        if (options.cachePath.empty()) return std::unordered_map<std::string, CachedFile>{};
        cache.emplace(options.cachePath);
        return cache->Load(runtime);
    });
    std::optional<RuntimeIndex> walked;
    try {
        walked.emplace(RuntimeIndex::Build(runtime, &cancel));
    } catch (...) {
        loading.wait();
        throw;
    }
    const RuntimeIndex& index = *walked;
    auto cached = loading.get();
    summary.cacheUsed = cache && cache->enabled();
    const auto& files = index.libraryFiles();
    summary.files = files.size();
    ReferenceResolver resolver(index, options.drives);
    RowSink sink(observer, summary, resolver);
    if (cancel.load()) {
        summary.cancelled = true;
        sink.Progress(CheckPhase::Done);
        return summary;
    }
    sink.Progress(CheckPhase::Checking);
    for (const auto& folder : index.unlisted())
        sink.AddUnreadable(folder.path, folder.reason, false);

    // Files the cache knows unchanged are checked at once; the others are read.
    std::vector<const LibraryFileEntry*> jobs;
    for (size_t i = 0; i < files.size(); ++i) {
        const LibraryFileEntry& f = files[i];
        const auto it = cached.find(f.path);
        std::optional<std::vector<ExtractedReference>> refs;
        if (it != cached.end() && it->second.size == f.size && it->second.mtimeNs == f.mtimeNs &&
            it->second.ctimeNs == f.ctimeNs)
            refs = DecodeReferences(it->second.blob);
        if (refs) {
            sink.AddFile(f.path, *refs);
        } else {
            jobs.push_back(&f);
        }
        if (it != cached.end()) cached.erase(it);
        if (i % 64 == 0 && cancel.load(std::memory_order_relaxed)) break;
    }
    // What the cache still holds lies no longer under this Runtime folder.
    std::vector<std::string> gone;
    if (!cancel.load()) {
        gone.reserve(cached.size());
        for (auto& [path, _] : cached) gone.push_back(path);
    }

    // The references of the files read, kept for the cache; none for a file that failed.
    std::vector<std::optional<std::vector<ExtractedReference>>> fresh(jobs.size());
    if (!cancel.load() && !jobs.empty()) {
        ReaderPool pool(jobs, ThreadCount(options.threads, jobs.size()), options.sizeCap, cancel);
        while (!pool.Finished()) {
            for (auto& result : pool.Take(std::chrono::milliseconds(10))) {
                const LibraryFileEntry& f = *jobs[result.job];
                ++summary.filesRead;
                if (result.error.empty()) {
                    sink.AddFile(f.path, result.refs);
                    fresh[result.job] = std::move(result.refs);
                } else {
                    sink.AddUnreadable(f.path, result.error, true);
                }
            }
            sink.Tick();
        }
    }
    summary.cancelled = cancel.load();

    if (cache && cache->enabled()) {
        std::vector<CacheEntry> entries;
        for (size_t j = 0; j < jobs.size(); ++j)
            if (fresh[j])
                entries.push_back(
                    {jobs[j]->path, jobs[j]->size, jobs[j]->mtimeNs, jobs[j]->ctimeNs, &*fresh[j]});
        cache->Store(entries, gone);
    }
    sink.Flush();
    sink.Progress(CheckPhase::Done);
    return summary;
}

}  // namespace bw::check
