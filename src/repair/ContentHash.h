#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace bw::repair {

// What the repair journal records of a file's bytes to tell, later, whether the file still holds
// them: a strong hash, so no edit of the user's is ever taken for the repair's own bytes.
struct ContentHash {
    std::string sha256;  // 64 lower-case hex digits
    uint64_t size = 0;
    bool operator==(const ContentHash&) const = default;
};

ContentHash HashOf(std::string_view bytes);

}  // namespace bw::repair
