#pragma once

#include <cstdint>
#include <string>

namespace bw::repair {

// One reference of one library file to rewrite: what a batch repair, a move with rewrite and their
// previews deal in.
struct ReferenceChange {
    std::string file;          // host path of the library file
    uint32_t line = 0;         // 1-based, CR LF, LF and a lone CR each ending a line
    std::string oldReference;  // as the file writes it, without enclosing quotes
    std::string newReference;  // as it is to be written, without enclosing quotes
    bool operator==(const ReferenceChange&) const = default;
};

}  // namespace bw::repair
