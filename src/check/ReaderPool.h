#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "check/FileReferences.h"
#include "check/LibraryFileReader.h"
#include "check/SharedText.h"

namespace bw::check {

// A library file a reading thread has been through.
struct ParsedFile {
    size_t job = 0;  // its number, as Add answered it
    FileReferences refs;
    std::string error;  // why it could not be read; empty when it was
    FileStamp stamp;    // as the file was opened
};

// Reads library files on a few threads of its own, as they are handed in, and hands each result
// back. Files may be added from any thread while the others are being read.
class ReaderPool {
  public:
    ReaderPool(unsigned threads, uint64_t sizeCap, const std::atomic<bool>& cancel);
    ReaderPool(const ReaderPool&) = delete;
    ReaderPool& operator=(const ReaderPool&) = delete;
    // Stops the threads after the files they are reading, and waits for them.
    ~ReaderPool();

    struct File {
        SharedText path;  // host path
        bool compressed;
    };
    // Queues files; answers the job number of the first, counted from 0, the others following.
    size_t Add(std::vector<File> files);
    // No more files will come: the threads stop once the queue is empty.
    void Close();

    // Waits up to `timeout` for finished files and takes them all; empty when none came.
    std::deque<ParsedFile> Take(std::chrono::milliseconds timeout);
    // Reads a few of the queued files on the calling thread and answers them; empty when no file
    // is waiting. A thread that would otherwise wait for results reads instead: on a machine with
    // few processors, one thread per processor in all wastes none on switching between them.
    std::vector<ParsedFile> Help();
    // True once the pool is closed, every file read (or Cancel set) and every result taken; files
    // read by Help count as taken.
    bool Finished();

  private:
    struct Reader;
    void Work();
    // Reads jobs [from, to), claimed by this thread, into `out`.
    void Read(Reader& reader, size_t from, size_t to, const std::vector<const File*>& claimed,
              std::vector<ParsedFile>& out);
    bool Cancelled() const {
        return abandoned_.load(std::memory_order_relaxed) ||
               cancel_.load(std::memory_order_relaxed);
    }

    const uint64_t sizeCap_;
    const std::atomic<bool>& cancel_;
    std::mutex mutex_;
    std::condition_variable queued_;  // a job came, or the pool was closed
    std::condition_variable ready_;   // results came, or a thread stopped
    std::deque<File> jobs_;           // a deque: a job's place stays put while others are added
    size_t next_ = 0;                 // the first job not yet taken by a thread
    bool closed_ = false;
    std::atomic<bool> abandoned_{false};  // the pool is going: no further file is started
    std::deque<ParsedFile> done_;
    unsigned working_;  // threads still running; set before they start
    std::vector<std::thread> threads_;
    std::unique_ptr<Reader> helper_;  // what Help reads with, made when first needed
};

}  // namespace bw::check
