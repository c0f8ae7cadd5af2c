#pragma once

#include <algorithm>
#include <cstring>
#include <string_view>
#include <vector>

#include "FuzzInput.h"
#include "check/LibraryReferenceParser.h"

namespace bw::fuzz {

// The references of `bytes` through a parser kept from run to run: its buffer is large, and the
// sanitizers make a fresh one per input cost more than the parsing. `blockSeed` 0 hands the bytes
// over in blocks as large as the parser takes, as Parse does; any other seed in blocks of 1 to 64
// bytes drawn from it, so that a CR LF or a keyword may straddle two blocks. An odd seed tells the
// parser the size first, as the reader of a plain file does, and once in a while a wrong one.
inline std::vector<check::ExtractedReference> ParseWith(check::LibraryReferenceParser& parser,
                                                        std::string_view bytes,
                                                        uint32_t blockSeed) {
    parser.Reset();
    uint32_t state = blockSeed * 2654435761u + 1;
    if (blockSeed & 1) parser.ExpectSize(blockSeed % 7 == 1 ? bytes.size() / 2 : bytes.size());
    while (!bytes.empty()) {
        const auto space = parser.Space();
        FUZZ_REQUIRE(!space.empty());
        state = state * 1103515245u + 12345u;
        const size_t block = blockSeed == 0 ? space.size() : 1 + (state >> 16) % 64;
        const size_t n = std::min({space.size(), bytes.size(), block});
        std::memcpy(space.data(), bytes.data(), n);
        parser.Commit(n);
        bytes.remove_prefix(n);
    }
    parser.Finish();
    return parser.TakeReferences();
}

}  // namespace bw::fuzz
