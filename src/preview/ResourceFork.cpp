#include "preview/ResourceFork.h"

#include <cstdint>

namespace bw {

namespace {

// Every offset and count comes from the file, so each read is bounds-checked: a damaged or
// hostile fork answers "none" rather than reading past the buffer.
class BigEndian {
  public:
    explicit BigEndian(std::string_view bytes) : bytes_(bytes) {}
    bool Has(uint64_t at, uint64_t size) const {
        return at <= bytes_.size() && size <= bytes_.size() - at;
    }
    uint32_t U(uint64_t at, int size) const {
        uint32_t v = 0;
        for (int i = 0; i < size; ++i) v = v << 8 | static_cast<unsigned char>(bytes_[at + i]);
        return v;
    }
    std::string_view Slice(uint64_t at, uint64_t size) const { return bytes_.substr(at, size); }

  private:
    std::string_view bytes_;
};

constexpr uint64_t kHeaderSize = 16;
constexpr uint64_t kMapFixedSize = 28;  // header copy, handle, file number, attributes, two offsets
constexpr uint64_t kTypeEntrySize = 8;
constexpr uint64_t kRefEntrySize = 12;

}  // namespace

std::optional<std::string> FindResource(std::string_view fork, std::string_view type) {
    const BigEndian in(fork);
    if (type.size() != 4 || !in.Has(0, kHeaderSize)) return std::nullopt;
    const uint64_t dataStart = in.U(0, 4), mapStart = in.U(4, 4), dataLength = in.U(8, 4);
    if (!in.Has(dataStart, dataLength) || !in.Has(mapStart, kMapFixedSize)) return std::nullopt;
    const uint64_t typeList = mapStart + in.U(mapStart + 24, 2);
    if (!in.Has(typeList, 2)) return std::nullopt;
    // The stored counts are one less than the number of entries.
    const uint64_t types = in.U(typeList, 2) + 1ull;
    for (uint64_t t = 0; t < types; ++t) {
        const uint64_t entry = typeList + 2 + t * kTypeEntrySize;
        if (!in.Has(entry, kTypeEntrySize)) return std::nullopt;
        if (in.Slice(entry, 4) != type) continue;
        // The first reference of the type; its data offset (24 bits) counts from the data start.
        const uint64_t ref = typeList + in.U(entry + 6, 2);
        if (!in.Has(ref, kRefEntrySize)) return std::nullopt;
        const uint64_t at = in.U(ref + 5, 3);
        if (at + 4 > dataLength) return std::nullopt;
        const uint64_t size = in.U(dataStart + at, 4);
        if (at + 4 + size > dataLength) return std::nullopt;
        return std::string(in.Slice(dataStart + at + 4, size));
    }
    return std::nullopt;
}

}  // namespace bw
