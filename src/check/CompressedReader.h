#pragma once

#include <atomic>
#include <cstdint>
#include <string>

#include "check/BlockSink.h"

namespace bw::check {

// Why a file over the size cap is refused: "larger than 512 MB" ("... when inflated").
std::string OverCapReason(uint64_t sizeCap, bool inflated);

// Inflates the gzip data read from an open file descriptor into `sink`, stopping with a reason
// once the inflated bytes pass `sizeCap`. Concatenated gzip members are read one after another.
// Answers the empty string on success (or when `cancel` was set), else why it failed: not gzip
// data, damaged data, cut short, too large, or a read error.
std::string InflateGzip(int fd, uint64_t sizeCap, BlockSink& sink,
                        const std::atomic<bool>* cancel = nullptr);

}  // namespace bw::check
