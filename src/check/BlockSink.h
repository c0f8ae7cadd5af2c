#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace bw::check {

// Where a reader puts a file's bytes: it asks for room, writes into it, then says how much.
class BlockSink {
  public:
    virtual ~BlockSink() = default;
    // Room for the next bytes; never empty.
    virtual std::span<char> Space() = 0;
    // Takes the first `count` bytes just written into Space().
    virtual void Commit(size_t count) = 0;
    // How many bytes will come in all, when the reader knows: a sink may wait for the last.
    virtual void ExpectSize(uint64_t bytes) { (void)bytes; }
};

}  // namespace bw::check
