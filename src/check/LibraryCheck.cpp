#include "check/LibraryCheck.h"

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <future>
#include <new>
#include <optional>
#include <thread>
#include <utility>

#include "check/CheckCache.h"
#include "check/PathTable.h"
#include "check/ReaderPool.h"
#include "check/ReferenceResolver.h"
#include "check/RuntimeIndex.h"

namespace bw::check {

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kProgressEvery = std::chrono::milliseconds(30);
constexpr auto kBatchEvery = std::chrono::milliseconds(50);
constexpr size_t kBatchRows = 4096;

// Turns a file's references into rows, counts them, and hands them on in batches.
class RowSink {
  public:
    RowSink(CheckObserver& observer, CheckSummary& summary, ReferenceResolver& resolver)
        : observer_(observer), summary_(summary), resolver_(resolver) {}

    // A file just read. Each distinct reference is resolved once, and given its number in the
    // cache being written (`writer`, when there is one); `cacheIds` gets those of `refs`.
    void AddFile(const SharedText& file, const FileReferences& refs, LibraryCacheWriter* writer,
                 std::vector<uint32_t>& cacheIds) {
        cacheIds.clear();
        for (size_t i = 0; i < refs.size(); ++i) {
            const std::string_view path = refs.path(i);
            const auto [id, isNew] = paths_.Intern(path, refs.hash(i));
            if (isNew)
                known_.push_back(
                    {&resolver_.Resolve(path), writer ? writer->PathId(path) : 0, path});
            const Known& known = known_[id];
            if (writer) cacheIds.push_back(known.cacheId);
            Add({file,
                 refs.line(i),
                 refs.keyword(i),
                 known.text,
                 known.resolution->status,
                 known.resolution->candidates,
                 {}});
        }
        summary_.references += refs.size();
        ++done_;
        Tick();
    }

    // A file whose references the cache held; each distinct reference is resolved once.
    void AddCachedFile(const SharedText& file, const CachedLibrary& lib, const CachedFile& f) {
        if (byPath_.empty()) byPath_.resize(lib.referenceCount());
        lib.ForEachReference(f, [&](const CachedLibrary::Reference& ref) {
            Cached& c = byPath_[ref.path];
            if (!c.resolution) {
                c.resolution = &resolver_.Resolve(lib.path(ref.path));
                c.text = lib.path(ref.path);
            }
            Add({file,
                 ref.line,
                 ref.keyword,
                 c.text,
                 c.resolution->status,
                 c.resolution->candidates,
                 {}});
        });
        summary_.references += f.referenceCount;
        ++done_;
        Tick();
    }

    void AddUnreadable(const SharedText& path, const std::string& reason, bool isFile) {
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
    // The references the cache held, by its number of each path.
    struct Cached {
        const Resolution* resolution = nullptr;
        SharedText text;
    };
    std::vector<Cached> byPath_;
    // The references of files read, by their number in paths_.
    struct Known {
        const Resolution* resolution;
        uint32_t cacheId;
        SharedText text;
    };
    PathTable paths_;
    std::vector<Known> known_;
    std::vector<CheckRow> batch_;
    size_t done_ = 0;
    Clock::time_point lastBatch_ = Clock::now(), lastProgress_ = Clock::now();
};

unsigned ThreadCount(unsigned requested) {
    return requested ? requested : std::max(1u, std::thread::hardware_concurrency());
}

constexpr size_t kNoJob = static_cast<size_t>(-1);

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
    std::string runtime = options.runtime;
    while (runtime.size() > 1 && runtime.back() == '/') runtime.pop_back();
    // The cache is read while the walk starts. Once it turns out to hold nothing for this folder,
    // the walk stops measuring library files: they are measured as they are opened, which spares
    // a call per file on a first check. Until then the walk measures them, rather than wait.
    std::optional<CheckCache> cache;
    const auto load = [&] {
        if (options.cachePath.empty()) return CachedLibrary();
        cache.emplace(options.cachePath);
        return cache->Load(runtime);
    };
    // No cache file yet: it can hold nothing, and the walk need not measure while it is made.
    const bool noCacheYet =
        !options.cachePath.empty() && ::access(options.cachePath.c_str(), F_OK) != 0;
    const std::shared_future<CachedLibrary> loading = std::async(std::launch::async, load).share();
    const StampFilter stampIf = [&loading, noCacheYet](std::string_view) {
        return !noCacheYet &&
               (loading.wait_for(std::chrono::seconds(0)) != std::future_status::ready ||
                !loading.get().empty());
    };
    // A library file the walk leaves unmeasured is read whatever the cache holds, so reading starts
    // while the walk goes on. Once the walk is done this thread reads too, whenever no result is
    // waiting: the pool has one thread fewer.
    std::optional<ReaderPool> readers(std::in_place, ThreadCount(options.threads) - 1,
                                      options.sizeCap, cancel);
    ReaderPool& pool = *readers;
    const UnstampedHandler readNow = [&pool](const std::vector<const LibraryFileEntry*>& files) {
        std::vector<ReaderPool::File> toRead;
        toRead.reserve(files.size());
        for (const LibraryFileEntry* f : files) toRead.push_back({f->path, f->compressed});
        return pool.Add(std::move(toRead));
    };
    std::optional<RuntimeIndex> walked;
    try {
        walked.emplace(RuntimeIndex::Build(runtime, &cancel, stampIf, readNow));
    } catch (...) {
        loading.wait();
        throw;
    }
    const RuntimeIndex& index = *walked;
    // A cache being made holds nothing: the files are read meanwhile, and it is awaited only to
    // store them.
    const CachedLibrary nothingCached;
    const CachedLibrary& cached = noCacheYet ? nothingCached : loading.get();
    const auto& files = index.libraryFiles();
    summary.files = files.size();
    std::optional<ReferenceResolver> resolving(std::in_place, index, options.drives);
    RowSink sink(observer, summary, *resolving);
    if (cancel.load()) {
        summary.cancelled = true;
        sink.Progress(CheckPhase::Done);
        return summary;
    }
    sink.Progress(CheckPhase::Checking);
    for (const auto& folder : index.unlisted())
        sink.AddUnreadable(folder.path, folder.reason, false);

    // Files the cache knows unchanged are checked at once; the others are read. Both lists are
    // sorted by path, so one pass pairs them.
    const size_t relativeFrom = index.runtime().size() + 1;
    const auto relativeOf = [relativeFrom](const LibraryFileEntry& f) {
        return std::string_view(f.path.str()).substr(relativeFrom);
    };
    const auto& cachedFiles = cached.files();
    // What the cache will hold, each file set down as soon as its references are known.
    std::optional<LibraryCacheWriter> writer;
    if (!options.cachePath.empty()) {
        writer.emplace();
        writer->Reserve(cached.byteSize() + 64 * files.size());
    }
    // The files found unchanged, with their records; set down only if the cache is written at all,
    // which an unchanged library spares.
    std::vector<std::pair<size_t, const CachedFile*>> unchanged;
    // The file of each job in the pool.
    std::vector<size_t> fileOf;
    const auto noteJob = [&](size_t job, size_t file) {
        if (job >= fileOf.size()) fileOf.resize(job + 1, kNoJob);
        fileOf[job] = file;
    };
    size_t nextCached = 0;
    for (size_t i = 0; i < files.size(); ++i) {
        if (i % 64 == 0 && cancel.load(std::memory_order_relaxed)) break;
        const LibraryFileEntry& f = files[i];
        if (f.handedOn != LibraryFileEntry::kNotHandedOn) {
            noteJob(f.handedOn, i);
            continue;
        }
        const std::string_view relative = relativeOf(f);
        while (nextCached < cachedFiles.size() && cachedFiles[nextCached].relative < relative)
            ++nextCached;
        if (nextCached < cachedFiles.size() && cachedFiles[nextCached].relative == relative &&
            f.stamped && cachedFiles[nextCached].stamp == f.stamp) {
            unchanged.emplace_back(i, &cachedFiles[nextCached]);
            sink.AddCachedFile(f.path, cached, cachedFiles[nextCached]);
        } else {
            noteJob(pool.Add({{f.path, f.compressed}}), i);
        }
    }
    pool.Close();

    size_t freshCount = 0;  // files read without error
    std::vector<uint32_t> cacheIds;
    const auto take = [&](ParsedFile& result) {
        const size_t file = result.job < fileOf.size() ? fileOf[result.job] : kNoJob;
        if (file == kNoJob) return;
        const SharedText& path = files[file].path;
        ++summary.filesRead;
        if (result.error.empty()) {
            LibraryCacheWriter* const cacheWriter = writer ? &*writer : nullptr;
            sink.AddFile(path, result.refs, cacheWriter, cacheIds);
            if (writer)
                writer->SetFile(file, relativeOf(files[file]), result.stamp, result.refs, cacheIds);
            ++freshCount;
        } else {
            sink.AddUnreadable(path, result.error, true);
        }
    };
    while (!cancel.load() && !pool.Finished()) {
        // The results at hand first; with none, this thread reads rather than waits.
        auto results = pool.Take(std::chrono::milliseconds(0));
        if (results.empty()) {
            auto own = pool.Help();
            for (auto& result : own) take(result);
            if (own.empty()) results = pool.Take(std::chrono::milliseconds(10));
        }
        for (auto& result : results) take(result);
        sink.Tick();
    }
    summary.cancelled = cancel.load();

    // The cache now holds every file read or found unchanged; files no longer under the Runtime
    // folder are dropped. A cancelled check stores nothing: writing could outlast the promptness
    // Cancel owes.
    const bool changed =
        !summary.cancelled && (freshCount > 0 || unchanged.size() != cachedFiles.size());
    loading.wait();
    summary.cacheUsed = cache && cache->enabled();
    // The cache is written on a thread of its own while this one hands out the last rows and lets
    // go of the walk: each takes a few milliseconds, and the caller waits for the longer only.
    std::jthread storing;
    if (cache && cache->enabled() && changed && writer)
        storing = std::jthread([&] {
            try {
                for (const auto& [i, record] : unchanged) writer->SetCachedFile(i, cached, *record);
                cache->Store(runtime, writer->Finish());
            } catch (const std::bad_alloc&) {
                // Only a cache: the next check reads the files again.
            }
        });
    sink.Flush();
    resolving.reset();
    readers.reset();
    fileOf = {};
    walked.reset();
    if (storing.joinable()) storing.join();
    sink.Progress(CheckPhase::Done);
    return summary;
}

}  // namespace bw::check
