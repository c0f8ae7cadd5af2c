#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace bw::check {

// The distinct reference paths of one check, numbered from 0 in the order first met. A lookup
// takes the path's hash as the reading thread worked it out (PathHash), while the bytes were at
// hand, so the checking thread, which meets every reference, never hashes one.
class PathTable {
  public:
    // The number of `path`, whose PathHash is `hash`, and whether it was met just now.
    std::pair<uint32_t, bool> Intern(std::string_view path, uint64_t hash);

    size_t size() const { return paths_.size(); }
    std::string_view path(uint32_t id) const { return paths_[id]; }

  private:
    void Grow();

    struct Slot {
        uint64_t hash;
        uint32_t id;  // kEmpty when free
    };
    static constexpr uint32_t kEmpty = UINT32_MAX;
    std::vector<Slot> slots_;  // open addressing, a power of two long, at most half full
    std::vector<std::string_view> paths_;
    std::deque<std::string> owned_;  // a deque keeps each in place
};

uint64_t PathHash(std::string_view path);

}  // namespace bw::check
