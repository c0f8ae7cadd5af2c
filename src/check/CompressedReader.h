#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "check/BlockSink.h"

struct z_stream_s;

namespace bw::check {

// Why a file over the size cap is refused: "larger than 512 MB" ("... when inflated").
std::string OverCapReason(uint64_t sizeCap, bool inflated);

// Inflates gzip files one after another, keeping its state and input buffer between them: fresh
// memory for every small file would cost more than inflating it.
class GzipInflater {
  public:
    GzipInflater();
    ~GzipInflater();
    GzipInflater(const GzipInflater&) = delete;
    GzipInflater& operator=(const GzipInflater&) = delete;

    // As InflateGzip.
    std::string Inflate(int fd, uint64_t sizeCap, BlockSink& sink,
                        const std::atomic<bool>* cancel = nullptr);

  private:
    std::unique_ptr<z_stream_s> z_;
    bool ready_ = false;
    std::unique_ptr<unsigned char[]> in_;
};

// Inflates the gzip data read from an open file descriptor into `sink`, stopping with a reason
// once the inflated bytes pass `sizeCap`. Concatenated gzip members are read one after another.
// Answers the empty string on success (or when `cancel` was set), else why it failed: not gzip
// data, damaged data, cut short, too large, or a read error.
std::string InflateGzip(int fd, uint64_t sizeCap, BlockSink& sink,
                        const std::atomic<bool>* cancel = nullptr);

}  // namespace bw::check
