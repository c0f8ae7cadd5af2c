// The library check's parser on plain bytes: the same references whichever blocks the bytes come
// in, each one text of the line its number names.
#include "FuzzInput.h"
#include "ParseWith.h"
#include "check/LibraryReferenceParser.h"
#include "platform/Text.h"

using bw::check::LibraryReferenceParser;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    bw::fuzz::FuzzInput in(data, size);
    const uint8_t blockSeed = in.Byte();
    const std::string_view bytes = in.Rest();

    static LibraryReferenceParser parser;
    const auto whole = bw::fuzz::ParseWith(parser, bytes, 0);
    FUZZ_REQUIRE(bw::fuzz::ParseWith(parser, bytes, blockSeed + 1u) == whole);

    const auto lines = bw::SplitLines(bytes);
    uint32_t previousLine = 0;
    for (const auto& ref : whole) {
        FUZZ_REQUIRE(ref.line > previousLine);  // in line order, one per line
        previousLine = ref.line;
        FUZZ_REQUIRE(ref.line <= lines.size());
        const std::string_view line = lines[ref.line - 1];
        const size_t keyword = line.find(bw::check::KeywordName(ref.keyword));
        FUZZ_REQUIRE(keyword != std::string_view::npos);
        FUZZ_REQUIRE(!ref.path.empty() && ref.path != "NO_MAP" && ref.path != "_NONE_");
        FUZZ_REQUIRE(line.find(ref.path, keyword) != std::string_view::npos);
    }
    return 0;
}
