#include "check/ReaderPool.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <iterator>
#include <string_view>
#include <utility>

#include "check/CompressedReader.h"
#include "check/LibraryReferenceParser.h"

namespace bw::check {

namespace {

// Files read before the checking thread is woken: a wake-up per file would cost more.
constexpr size_t kWakeEvery = 64;
// Files a thread takes at once.
constexpr size_t kClaim = 8;
// How long a thread waiting for files sleeps before it looks at Cancel again.
constexpr auto kCancelPoll = std::chrono::milliseconds(20);

// The folder of the file a reading thread opens, kept open while the next files lie in it too.
class FolderHandle {
  public:
    FolderHandle() = default;
    FolderHandle(const FolderHandle&) = delete;
    FolderHandle& operator=(const FolderHandle&) = delete;
    ~FolderHandle() { Close(); }

    // What to open `path` (a host path) by: its folder and its name, or, when the folder cannot be
    // opened, the working folder and the whole path, so the file's own open tells why.
    std::pair<int, const char*> For(const std::string& path) {
        const size_t slash = path.rfind('/');
        if (slash == std::string::npos || slash == 0) return {AT_FDCWD, path.c_str()};
        const std::string_view folder(path.data(), slash);
        if (fd_ < 0 || folder != folder_) {
            Close();
            folder_.assign(folder);
            fd_ = ::open(folder_.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
        }
        if (fd_ < 0) return {AT_FDCWD, path.c_str()};
        return {fd_, path.c_str() + slash + 1};
    }

  private:
    void Close() {
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
    }
    std::string folder_;
    int fd_ = -1;
};

}  // namespace

// What a thread reads with, kept from file to file.
struct ReaderPool::Reader {
    LibraryReferenceParser parser;
    GzipInflater inflater;
    FolderHandle folder;
};

ReaderPool::ReaderPool(unsigned threads, uint64_t sizeCap, const std::atomic<bool>& cancel)
    : sizeCap_(sizeCap), cancel_(cancel), working_(threads) {
    for (unsigned i = 0; i < threads; ++i) threads_.emplace_back([this] { Work(); });
}

ReaderPool::~ReaderPool() {
    {
        std::lock_guard lock(mutex_);
        abandoned_ = true;
        closed_ = true;
        queued_.notify_all();
    }
    for (auto& t : threads_) t.join();
}

size_t ReaderPool::Add(std::vector<File> files) {
    std::lock_guard lock(mutex_);
    const size_t first = jobs_.size();
    jobs_.insert(jobs_.end(), std::make_move_iterator(files.begin()),
                 std::make_move_iterator(files.end()));
    if (files.size() == 1)
        queued_.notify_one();
    else if (!files.empty())
        queued_.notify_all();
    return first;
}

void ReaderPool::Close() {
    std::lock_guard lock(mutex_);
    closed_ = true;
    queued_.notify_all();
}

std::deque<ParsedFile> ReaderPool::Take(std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    if (timeout.count() > 0)
        ready_.wait_for(lock, timeout, [this] { return !done_.empty() || working_ == 0; });
    return std::exchange(done_, {});
}

bool ReaderPool::Finished() {
    std::lock_guard lock(mutex_);
    // Files left unclaimed count too: a pool may have no thread of its own, its caller reading.
    return ((closed_ && next_ == jobs_.size()) || Cancelled()) && working_ == 0 && done_.empty();
}

void ReaderPool::Read(Reader& reader, size_t from, size_t to,
                      const std::vector<const File*>& claimed, std::vector<ParsedFile>& out) {
    for (size_t job = from; job < to && !Cancelled(); ++job) {
        const File& file = *claimed[job - from];
        reader.parser.Reset();
        ParsedFile& result = out.emplace_back();
        result.job = job;
        const auto [folderFd, name] = reader.folder.For(file.path.str());
        result.error = ReadLibraryFileAt(folderFd, name, file.compressed, sizeCap_, reader.parser,
                                         &cancel_, &result.stamp, &reader.inflater);
        if (result.error.empty() && !Cancelled()) {
            reader.parser.Finish();
            result.refs = reader.parser.TakeFileReferences();
        }
    }
}

std::vector<ParsedFile> ReaderPool::Help() {
    std::vector<ParsedFile> results;
    std::vector<const File*> claimed;
    size_t from = 0, to = 0;
    {
        std::lock_guard lock(mutex_);
        if (next_ == jobs_.size() || Cancelled()) return results;
        from = next_;
        to = std::min(jobs_.size(), next_ + kClaim);
        next_ = to;
        for (size_t job = from; job < to; ++job) claimed.push_back(&jobs_[job]);
    }
    if (!helper_) helper_ = std::make_unique<Reader>();
    Read(*helper_, from, to, claimed, results);
    // A read cut short by Cancel is no result.
    if (Cancelled()) results.clear();
    return results;
}

void ReaderPool::Work() {
    Reader reader;
    std::vector<ParsedFile> finished;
    std::vector<const File*> claimed;
    std::unique_lock lock(mutex_);
    for (;;) {
        while (next_ == jobs_.size() && !closed_ && !Cancelled())
            queued_.wait_for(lock, kCancelPoll);
        if (next_ == jobs_.size() || Cancelled()) break;
        // A few files at a time, so that the threads seldom wait for each other's lock.
        const size_t from = next_, to = std::min(jobs_.size(), next_ + kClaim);
        next_ = to;
        // Found while the lock is held; a deque's elements stay put while others are added.
        claimed.clear();
        for (size_t job = from; job < to; ++job) claimed.push_back(&jobs_[job]);
        lock.unlock();
        Read(reader, from, to, claimed, finished);
        lock.lock();
        // A read cut short by Cancel is no result.
        if (Cancelled()) break;
        const size_t before = done_.size();
        for (auto& result : finished) done_.push_back(std::move(result));
        finished.clear();
        if (before < kWakeEvery && done_.size() >= kWakeEvery) ready_.notify_one();
    }
    --working_;
    ready_.notify_one();
}
}  // namespace bw::check
