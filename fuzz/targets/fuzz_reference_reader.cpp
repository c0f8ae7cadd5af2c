// The per-file listing of references: every reference listed is text of the file (without its
// quotes once the carried path is unquoted), no longer than the limit, and listed once.
#include <vector>

#include "FuzzInput.h"
#include "platform/PlatformError.h"
#include "platform/Text.h"
#include "references/ReferenceExtraction.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    bw::fuzz::FuzzInput in(data, size);
    const uint8_t unquoteEvery = in.Byte();  // 0: never
    const std::string_view bytes = in.Rest();
    const std::string unquotedBytes = bw::WithoutQuotes(bytes);

    bw::ReferenceReader reader;
    std::vector<std::string> listed;
    size_t lineNumber = 0;
    bool unquoted = false;
    const auto lines = bw::SplitLines(bytes);
    for (const auto line : lines) {
        try {
            if (auto ref = reader.ReadLine(line)) listed.push_back(*ref);
        } catch (const bw::PlatformError& e) {
            FUZZ_REQUIRE(e.number() == bw::err::kInvalidCall);
            break;  // the listing gives up on such a file
        }
        if (unquoteEvery != 0 && ++lineNumber % unquoteEvery == 0) {
            reader.CarryUnquoted();
            unquoted = true;
        }
    }
    FUZZ_REQUIRE(static_cast<size_t>(reader.candidateLines()) <= lines.size());
    for (size_t i = 0; i < listed.size(); ++i) {
        const auto& ref = listed[i];
        FUZZ_REQUIRE(!ref.empty() && ref.size() <= bw::kMaxReferenceLength);
        FUZZ_REQUIRE(bytes.find(ref) != std::string_view::npos ||
                     (unquoted && unquotedBytes.find(ref) != std::string::npos));
        for (size_t j = 0; j < i; ++j) FUZZ_REQUIRE(!bw::AsciiEqualsIgnoreCase(ref, listed[j]));
    }
    return 0;
}
