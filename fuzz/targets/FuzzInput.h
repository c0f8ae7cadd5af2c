#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace bw::fuzz {

// Stops the run as a finding when a property does not hold; libFuzzer keeps the input.
#define FUZZ_REQUIRE(condition)                                                                   \
    do {                                                                                          \
        if (!(condition)) {                                                                       \
            std::fprintf(stderr, "%s:%d: property failed: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                         \
        }                                                                                         \
    } while (0)

// Takes a fuzz input apart from the front: single bytes for choices, NUL-ended fields for
// strings, and whatever is left as the file's bytes.
class FuzzInput {
  public:
    FuzzInput(const uint8_t* data, size_t size)
        : rest_(reinterpret_cast<const char*>(data), size) {}

    // The next byte, or 0 when none is left.
    uint8_t Byte() {
        if (rest_.empty()) return 0;
        const auto b = static_cast<uint8_t>(rest_.front());
        rest_.remove_prefix(1);
        return b;
    }
    // The bytes up to the next NUL (which is dropped), or all that is left.
    std::string Field() {
        const size_t end = rest_.find('\0');
        std::string field(rest_.substr(0, end));
        rest_.remove_prefix(end == std::string_view::npos ? rest_.size() : end + 1);
        return field;
    }
    // Everything not taken yet.
    std::string_view Rest() const { return rest_; }

  private:
    std::string_view rest_;
};

}  // namespace bw::fuzz
