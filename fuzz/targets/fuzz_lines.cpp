// The line splitter: the lines and the line ends between them give back the input, byte for byte.
#include "FuzzInput.h"
#include "platform/Text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto lines = bw::SplitLines(bytes);
    size_t pos = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        FUZZ_REQUIRE(pos < bytes.size());  // no empty line after the last line end
        const std::string_view line = lines[i];
        FUZZ_REQUIRE(line == bytes.substr(pos, line.size()));
        FUZZ_REQUIRE(line.find_first_of("\r\n") == std::string_view::npos);
        pos += line.size();
        if (pos == bytes.size()) {
            FUZZ_REQUIRE(i + 1 == lines.size());  // only the last line may lack its end
            break;
        }
        // CR LF is one line end; a lone CR or LF is one too.
        FUZZ_REQUIRE(bytes[pos] == '\n' || bytes[pos] == '\r');
        pos += bytes.substr(pos, 2) == "\r\n" ? 2 : 1;
    }
    FUZZ_REQUIRE(pos == bytes.size());  // nothing left out
    return 0;
}
