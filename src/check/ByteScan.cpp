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

// The SSE2 and AVX-512 forms compare the first and third bytes of the three triggers at many
// positions at once, confirms a candidate with the plain test, and counts the line breaks before
// it. The loads reach two bytes past the positions they test, which the loop bounds keep inside
// `end`.
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
        const auto lineBreaks = static_cast<unsigned>(_mm_movemask_epi8(
            _mm_or_si128(_mm_cmpeq_epi8(a, lf),
                         _mm_andnot_si128(_mm_cmpeq_epi8(b, lf), _mm_cmpeq_epi8(a, cr)))));
        for (auto mask = static_cast<unsigned>(_mm_movemask_epi8(hit)); mask != 0;
             mask &= mask - 1) {
            const auto bit = static_cast<unsigned>(__builtin_ctz(mask));
            if (TriggerAt(d + i + bit)) {
                breaks +=
                    n + static_cast<size_t>(__builtin_popcount(lineBreaks & ((1u << bit) - 1)));
                return i + bit;
            }
        }
        n += static_cast<size_t>(__builtin_popcount(lineBreaks));
        i += 16;
    }
    breaks += n;
    return NextTriggerPlain(d, i, end, fill, breaks);
}

// The AVX2 form, the one most processors run, finds candidates by table: the triggers' first
// letters differ in their low four bits ('S' 3, 'i' 9, 'M' 13), so one byte shuffle answers, for
// every position at once, the first letter a trigger there would need and another the third. Line
// breaks go into byte counters, emptied before they can overflow; a candidate is rare, so the exact
// count is worked out then.
namespace {

constexpr size_t kCounterRounds = 255;  // adds a byte counter takes before it could overflow

// The first, the third letter of the trigger whose first letter has these low four bits; 0x80 (no
// letter) elsewhere.
constexpr char kFirstBy[16] = {'\x80', '\x80', '\x80', 'S',    '\x80', '\x80', '\x80', '\x80',
                               '\x80', 'i',    '\x80', '\x80', '\x80', 'M',    '\x80', '\x80'};
constexpr char kThirdBy[16] = {'\x80', '\x80', '\x80', 'r',    '\x80', '\x80', '\x80', '\x80',
                               '\x80', 'e',    '\x80', '\x80', '\x80', 'p',    '\x80', '\x80'};

// The sum of the byte counters.
__attribute__((target("avx2"))) inline size_t Total(__m256i counters) {
    const __m256i sums = _mm256_sad_epu8(counters, _mm256_setzero_si256());
    return static_cast<size_t>(_mm256_extract_epi64(sums, 0) + _mm256_extract_epi64(sums, 1) +
                               _mm256_extract_epi64(sums, 2) + _mm256_extract_epi64(sums, 3));
}

}  // namespace

__attribute__((target("avx2,popcnt"))) size_t NextTriggerAvx2(const char* d, size_t from,
                                                              size_t end, size_t fill,
                                                              size_t& breaks) {
    const __m256i firstBy =
        _mm256_broadcastsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(kFirstBy)));
    const __m256i thirdBy =
        _mm256_broadcastsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(kThirdBy)));
    const __m256i lf = _mm256_set1_epi8('\n'), cr = _mm256_set1_epi8('\r');
    const auto load = [d](size_t at) __attribute__((target("avx2"))) {
        return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(d + at));
    };
    const auto candidates = [&](__m256i a, __m256i c) __attribute__((target("avx2"))) {
        return _mm256_and_si256(_mm256_cmpeq_epi8(_mm256_shuffle_epi8(firstBy, a), a),
                                _mm256_cmpeq_epi8(_mm256_shuffle_epi8(thirdBy, a), c));
    };
    const auto lineBreaks = [&](__m256i a, __m256i b) __attribute__((target("avx2"))) {
        return _mm256_or_si256(
            _mm256_cmpeq_epi8(a, lf),
            _mm256_andnot_si256(_mm256_cmpeq_epi8(b, lf), _mm256_cmpeq_epi8(a, cr)));
    };
    const auto bits = [](__m256i low, __m256i high) __attribute__((target("avx2"))) {
        return uint64_t{static_cast<uint32_t>(_mm256_movemask_epi8(low))} |
               uint64_t{static_cast<uint32_t>(_mm256_movemask_epi8(high))} << 32;
    };
    // 64 bytes a round, as two halves; each counter takes at most two a round.
    size_t i = from, n = 0;
    while (i + 66 <= end) {
        __m256i counters = _mm256_setzero_si256();
        for (const size_t stop = i + kCounterRounds / 2 * 64; i + 66 <= end && i < stop; i += 64) {
            const __m256i a0 = load(i), a1 = load(i + 32);
            const __m256i hit0 = candidates(a0, load(i + 2)), hit1 = candidates(a1, load(i + 34));
            const __m256i breaks0 = lineBreaks(a0, load(i + 1));
            const __m256i breaks1 = lineBreaks(a1, load(i + 33));
            const __m256i hits = _mm256_or_si256(hit0, hit1);
            if (!_mm256_testz_si256(hits, hits)) {
                for (uint64_t mask = bits(hit0, hit1); mask != 0; mask &= mask - 1) {
                    const auto bit = static_cast<unsigned>(__builtin_ctzll(mask));
                    if (TriggerAt(d + i + bit)) {
                        const uint64_t before = bits(breaks0, breaks1) & ((uint64_t{1} << bit) - 1);
                        breaks +=
                            n + Total(counters) + static_cast<size_t>(__builtin_popcountll(before));
                        return i + bit;
                    }
                }
            }
            counters = _mm256_sub_epi8(counters, _mm256_add_epi8(breaks0, breaks1));
        }
        n += Total(counters);
    }
    breaks += n;
    // The last few dozen bytes, sixteen at a time.
    return NextTriggerSse2(d, i, end, fill, breaks);
}

__attribute__((target("avx512bw,avx2,popcnt"))) size_t NextTriggerAvx512(const char* d, size_t from,
                                                                         size_t end, size_t fill,
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

size_t NextLineEnd(const char* d, size_t from, size_t end) {
    size_t i = from;
#if BW_X86
    // Sixteen bytes at a time: a reference's line is a few dozen long.
    const __m128i lf = _mm_set1_epi8('\n'), cr = _mm_set1_epi8('\r');
    for (; i + 16 <= end; i += 16) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i));
        const auto mask = static_cast<unsigned>(
            _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(a, lf), _mm_cmpeq_epi8(a, cr))));
        if (mask != 0) return i + static_cast<size_t>(__builtin_ctz(mask));
    }
#endif
    while (i < end && d[i] != '\n' && d[i] != '\r') ++i;
    return i;
}

size_t NextTrigger(const char* d, size_t from, size_t end, size_t fill, size_t& breaks) {
    using namespace byte_scan_detail;
    return HaveAvx512() ? NextTriggerAvx512(d, from, end, fill, breaks)
           : HaveAvx2() ? NextTriggerAvx2(d, from, end, fill, breaks)
                        : NextTriggerSse2(d, from, end, fill, breaks);
}

}  // namespace bw::check
