#include "references/CaseFoldedFinder.h"

#include "platform/Text.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace bw {

namespace {

inline unsigned char Lower(unsigned char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + 32) : c;
}
inline bool IsLetter(unsigned char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

}  // namespace

CaseFoldedFinder::CaseFoldedFinder(std::string_view needle) : needle_(AsciiLower(needle)) {
    if (needle_.empty()) return;
    first_ = static_cast<unsigned char>(needle_.front());
    last_ = static_cast<unsigned char>(needle_.back());
    firstFold_ = IsLetter(first_) ? 0x20 : 0;
    lastFold_ = IsLetter(last_) ? 0x20 : 0;
}

bool CaseFoldedFinder::MatchesAt(const char* at) const {
    const size_t n = needle_.size();
    for (size_t j = 1; j + 1 < n; ++j)
        if (Lower(static_cast<unsigned char>(at[j])) != static_cast<unsigned char>(needle_[j]))
            return false;
    return true;
}

size_t CaseFoldedFinder::Find(std::string_view hay, size_t from) const {
    const size_t n = needle_.size();
    if (n == 0) return from <= hay.size() ? from : std::string_view::npos;
    if (hay.size() < n || from > hay.size() - n) return std::string_view::npos;
    const char* data = hay.data();
    const size_t lastStart = hay.size() - n;  // the last position a match can begin at
    size_t i = from;
#if defined(__SSE2__)
    // Sixteen candidate positions at a time: the first and the last byte of the needle must both
    // match (letters with their case bit set) before the bytes in between are compared.
    const __m128i vFirst = _mm_set1_epi8(static_cast<char>(first_));
    const __m128i vLast = _mm_set1_epi8(static_cast<char>(last_));
    const __m128i fFirst = _mm_set1_epi8(static_cast<char>(firstFold_));
    const __m128i fLast = _mm_set1_epi8(static_cast<char>(lastFold_));
    while (i + 15 <= lastStart) {
        const __m128i a =
            _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i)), fFirst);
        const __m128i b = _mm_or_si128(
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i + n - 1)), fLast);
        unsigned mask = static_cast<unsigned>(
            _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(a, vFirst), _mm_cmpeq_epi8(b, vLast))));
        while (mask != 0) {
            const size_t pos = i + static_cast<size_t>(__builtin_ctz(mask));
            if (MatchesAt(data + pos)) return pos;
            mask &= mask - 1;
        }
        i += 16;
    }
#endif
    for (; i <= lastStart; ++i) {
        const auto a = static_cast<unsigned char>(data[i]) | firstFold_;
        const auto b = static_cast<unsigned char>(data[i + n - 1]) | lastFold_;
        if (a == first_ && b == last_ && MatchesAt(data + i)) return i;
    }
    return std::string_view::npos;
}

}  // namespace bw
