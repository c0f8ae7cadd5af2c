#include "check/ByteScan.h"

#include <cstdint>
#include <string_view>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define BW_X86 1
#endif

namespace bw::check {

namespace byte_scan_detail {

namespace {

constexpr size_t npos = std::string_view::npos;

inline bool TriggerAt(const char* p) {
    return (p[0] == 'i' && p[1] == 'l' && p[2] == 'e') ||
           (p[0] == 'M' && p[1] == 'a' && p[2] == 'p') ||
           (p[0] == 'S' && p[1] == 'c' && p[2] == 'r');
}

inline bool BreakAt(const char* d, size_t i, size_t fill) {
    return d[i] == '\n' || (d[i] == '\r' && (i + 1 >= fill || d[i + 1] != '\n'));
}

}  // namespace

size_t NextTriggerPlain(const char* d, size_t from, size_t end, size_t fill, size_t& breaks) {
    for (size_t i = from; i < end; ++i) {
        if (i + 3 <= end && TriggerAt(d + i)) return i;
        if (BreakAt(d, i, fill)) ++breaks;
    }
    return npos;
}

#if BW_X86

// Every width compares the first and third bytes of the three triggers at many positions at once,
// confirms a candidate with the plain test, and counts the line breaks before it. The loads reach
// two bytes past the positions they test, which the loop bounds keep inside `end`.
size_t NextTriggerSse2(const char* d, size_t from, size_t end, size_t fill, size_t& breaks) {
    size_t i = from, n = 0;
    const __m128i firstI = _mm_set1_epi8('i'), thirdE = _mm_set1_epi8('e');
    const __m128i firstM = _mm_set1_epi8('M'), thirdP = _mm_set1_epi8('p');
    const __m128i firstS = _mm_set1_epi8('S'), thirdR = _mm_set1_epi8('r');
    const __m128i lf = _mm_set1_epi8('\n'), cr = _mm_set1_epi8('\r');
    while (i + 18 <= end) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i + 1));
        const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i + 2));
        const __m128i hit = _mm_or_si128(
            _mm_or_si128(_mm_and_si128(_mm_cmpeq_epi8(a, firstI), _mm_cmpeq_epi8(c, thirdE)),
                         _mm_and_si128(_mm_cmpeq_epi8(a, firstM), _mm_cmpeq_epi8(c, thirdP))),
            _mm_and_si128(_mm_cmpeq_epi8(a, firstS), _mm_cmpeq_epi8(c, thirdR)));
        const auto lineBreaks = static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(
            _mm_cmpeq_epi8(a, lf), _mm_andnot_si128(_mm_cmpeq_epi8(b, lf), _mm_cmpeq_epi8(a, cr)))));
        for (auto mask = static_cast<unsigned>(_mm_movemask_epi8(hit)); mask != 0;
             mask &= mask - 1) {
            const auto bit = static_cast<unsigned>(__builtin_ctz(mask));
            if (TriggerAt(d + i + bit)) {
                breaks += n + static_cast<size_t>(__builtin_popcount(lineBreaks & ((1u << bit) - 1)));
                return i + bit;
            }
        }
        n += static_cast<size_t>(__builtin_popcount(lineBreaks));
        i += 16;
    }
    breaks += n;
    return NextTriggerPlain(d, i, end, fill, breaks);
}

__attribute__((target("avx2,popcnt"))) size_t NextTriggerAvx2(const char* d, size_t from,
                                                              size_t end, size_t fill,
                                                              size_t& breaks) {
    size_t i = from, n = 0;
    const __m256i firstI = _mm256_set1_epi8('i'), thirdE = _mm256_set1_epi8('e');
    const __m256i firstM = _mm256_set1_epi8('M'), thirdP = _mm256_set1_epi8('p');
    const __m256i firstS = _mm256_set1_epi8('S'), thirdR = _mm256_set1_epi8('r');
    const __m256i lf = _mm256_set1_epi8('\n'), cr = _mm256_set1_epi8('\r');
    while (i + 34 <= end) {
        const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(d + i));
        const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(d + i + 1));
        const __m256i c = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(d + i + 2));
        const __m256i hit = _mm256_or_si256(
            _mm256_or_si256(
                _mm256_and_si256(_mm256_cmpeq_epi8(a, firstI), _mm256_cmpeq_epi8(c, thirdE)),
                _mm256_and_si256(_mm256_cmpeq_epi8(a, firstM), _mm256_cmpeq_epi8(c, thirdP))),
            _mm256_and_si256(_mm256_cmpeq_epi8(a, firstS), _mm256_cmpeq_epi8(c, thirdR)));
        const auto lineBreaks = static_cast<unsigned>(_mm256_movemask_epi8(
            _mm256_or_si256(_mm256_cmpeq_epi8(a, lf),
                            _mm256_andnot_si256(_mm256_cmpeq_epi8(b, lf), _mm256_cmpeq_epi8(a, cr)))));
        for (auto mask = static_cast<unsigned>(_mm256_movemask_epi8(hit)); mask != 0;
             mask &= mask - 1) {
            const auto bit = static_cast<unsigned>(__builtin_ctz(mask));
            if (TriggerAt(d + i + bit)) {
                breaks += n + static_cast<size_t>(__builtin_popcount(lineBreaks & ((1u << bit) - 1)));
                return i + bit;
            }
        }
        n += static_cast<size_t>(__builtin_popcount(lineBreaks));
        i += 32;
    }
    breaks += n;
    return NextTriggerPlain(d, i, end, fill, breaks);
}

__attribute__((target("avx512bw,avx2,popcnt"))) size_t NextTriggerAvx512(const char* d,
                                                                         size_t from, size_t end,
                                                                         size_t fill,
                                                                         size_t& breaks) {
    size_t i = from, n = 0;
    const __m512i firstI = _mm512_set1_epi8('i'), thirdE = _mm512_set1_epi8('e');
    const __m512i firstM = _mm512_set1_epi8('M'), thirdP = _mm512_set1_epi8('p');
    const __m512i firstS = _mm512_set1_epi8('S'), thirdR = _mm512_set1_epi8('r');
    const __m512i lf = _mm512_set1_epi8('\n'), cr = _mm512_set1_epi8('\r');
    while (i + 66 <= end) {
        const __m512i a = _mm512_loadu_si512(d + i);
        const __m512i b = _mm512_loadu_si512(d + i + 1);
        const __m512i c = _mm512_loadu_si512(d + i + 2);
        uint64_t mask = (_mm512_cmpeq_epi8_mask(a, firstI) & _mm512_cmpeq_epi8_mask(c, thirdE)) |
                        (_mm512_cmpeq_epi8_mask(a, firstM) & _mm512_cmpeq_epi8_mask(c, thirdP)) |
                        (_mm512_cmpeq_epi8_mask(a, firstS) & _mm512_cmpeq_epi8_mask(c, thirdR));
        const uint64_t lineBreaks =
            _mm512_cmpeq_epi8_mask(a, lf) |
            (_mm512_cmpeq_epi8_mask(a, cr) & ~_mm512_cmpeq_epi8_mask(b, lf));
        for (; mask != 0; mask &= mask - 1) {
            const auto bit = static_cast<unsigned>(__builtin_ctzll(mask));
            if (TriggerAt(d + i + bit)) {
                breaks += n + static_cast<size_t>(
                                  __builtin_popcountll(lineBreaks & ((uint64_t{1} << bit) - 1)));
                return i + bit;
            }
        }
        n += static_cast<size_t>(__builtin_popcountll(lineBreaks));
        i += 64;
    }
    breaks += n;
    return NextTriggerAvx2(d, i, end, fill, breaks);
}

bool HaveAvx2() {
    static const bool have = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("popcnt");
    return have;
}

bool HaveAvx512() {
    static const bool have = HaveAvx2() && __builtin_cpu_supports("avx512bw");
    return have;
}

#else

size_t NextTriggerSse2(const char* d, size_t from, size_t end, size_t fill, size_t& breaks) {
    return NextTriggerPlain(d, from, end, fill, breaks);
}
size_t NextTriggerAvx2(const char* d, size_t from, size_t end, size_t fill, size_t& breaks) {
    return NextTriggerPlain(d, from, end, fill, breaks);
}
size_t NextTriggerAvx512(const char* d, size_t from, size_t end, size_t fill, size_t& breaks) {
    return NextTriggerPlain(d, from, end, fill, breaks);
}
bool HaveAvx2() { return false; }
bool HaveAvx512() { return false; }

#endif

}  // namespace byte_scan_detail

size_t NextTrigger(const char* d, size_t from, size_t end, size_t fill, size_t& breaks) {
    using namespace byte_scan_detail;
    return HaveAvx512() ? NextTriggerAvx512(d, from, end, fill, breaks)
           : HaveAvx2() ? NextTriggerAvx2(d, from, end, fill, breaks)
                        : NextTriggerSse2(d, from, end, fill, breaks);
}

}  // namespace bw::check
