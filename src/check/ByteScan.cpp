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

}  // namespace

size_t NextTriggerPlain(const char* d, size_t from, size_t end) {
    for (size_t i = from; i + 3 <= end; ++i)
        if (TriggerAt(d + i)) return i;
    return npos;
}

size_t CountLineBreaksPlain(const char* d, size_t from, size_t to, size_t fill) {
    size_t n = 0;
    for (size_t i = from; i < to; ++i) {
        if (d[i] == '\n')
            ++n;
        else if (d[i] == '\r' && (i + 1 >= fill || d[i + 1] != '\n'))
            ++n;
    }
    return n;
}

#if BW_X86

// Both widths look at the first and third bytes of the three triggers, many positions at a time,
// and confirm a candidate with the plain test.
size_t NextTriggerSse2(const char* d, size_t from, size_t end) {
    size_t i = from;
    const __m128i firstI = _mm_set1_epi8('i'), thirdE = _mm_set1_epi8('e');
    const __m128i firstM = _mm_set1_epi8('M'), thirdP = _mm_set1_epi8('p');
    const __m128i firstS = _mm_set1_epi8('S'), thirdR = _mm_set1_epi8('r');
    while (i + 18 <= end) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i));
        const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i + 2));
        const __m128i hit = _mm_or_si128(
            _mm_or_si128(_mm_and_si128(_mm_cmpeq_epi8(a, firstI), _mm_cmpeq_epi8(c, thirdE)),
                         _mm_and_si128(_mm_cmpeq_epi8(a, firstM), _mm_cmpeq_epi8(c, thirdP))),
            _mm_and_si128(_mm_cmpeq_epi8(a, firstS), _mm_cmpeq_epi8(c, thirdR)));
        for (unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(hit)); mask != 0;
             mask &= mask - 1) {
            const size_t pos = i + static_cast<size_t>(__builtin_ctz(mask));
            if (TriggerAt(d + pos)) return pos;
        }
        i += 16;
    }
    return NextTriggerPlain(d, i, end);
}

__attribute__((target("avx2"))) size_t NextTriggerAvx2(const char* d, size_t from, size_t end) {
    size_t i = from;
    const __m256i firstI = _mm256_set1_epi8('i'), thirdE = _mm256_set1_epi8('e');
    const __m256i firstM = _mm256_set1_epi8('M'), thirdP = _mm256_set1_epi8('p');
    const __m256i firstS = _mm256_set1_epi8('S'), thirdR = _mm256_set1_epi8('r');
    while (i + 34 <= end) {
        const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(d + i));
        const __m256i c = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(d + i + 2));
        const __m256i hit = _mm256_or_si256(
            _mm256_or_si256(
                _mm256_and_si256(_mm256_cmpeq_epi8(a, firstI), _mm256_cmpeq_epi8(c, thirdE)),
                _mm256_and_si256(_mm256_cmpeq_epi8(a, firstM), _mm256_cmpeq_epi8(c, thirdP))),
            _mm256_and_si256(_mm256_cmpeq_epi8(a, firstS), _mm256_cmpeq_epi8(c, thirdR)));
        for (unsigned mask = static_cast<unsigned>(_mm256_movemask_epi8(hit)); mask != 0;
             mask &= mask - 1) {
            const size_t pos = i + static_cast<size_t>(__builtin_ctz(mask));
            if (TriggerAt(d + pos)) return pos;
        }
        i += 32;
    }
    return NextTriggerPlain(d, i, end);
}

size_t CountLineBreaksSse2(const char* d, size_t from, size_t to, size_t fill) {
    size_t n = 0, i = from;
    // Per-lane byte counters, summed before any of them can overflow.
    const __m128i lf = _mm_set1_epi8('\n'), cr = _mm_set1_epi8('\r');
    while (i + 16 <= to && i + 17 <= fill) {
        __m128i counts = _mm_setzero_si128();
        for (int round = 0; round < 255 && i + 16 <= to && i + 17 <= fill; ++round, i += 16) {
            const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i));
            const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i + 1));
            const __m128i lonelyCrs =
                _mm_andnot_si128(_mm_cmpeq_epi8(next, lf), _mm_cmpeq_epi8(a, cr));
            counts = _mm_sub_epi8(counts, _mm_or_si128(_mm_cmpeq_epi8(a, lf), lonelyCrs));
        }
        const __m128i sums = _mm_sad_epu8(counts, _mm_setzero_si128());
        n += static_cast<size_t>(_mm_cvtsi128_si32(sums)) +
             static_cast<size_t>(_mm_cvtsi128_si32(_mm_srli_si128(sums, 8)));
    }
    return n + CountLineBreaksPlain(d, i, to, fill);
}

__attribute__((target("avx2"))) size_t CountLineBreaksAvx2(const char* d, size_t from, size_t to,
                                                           size_t fill) {
    size_t n = 0, i = from;
    const __m256i lf = _mm256_set1_epi8('\n'), cr = _mm256_set1_epi8('\r');
    while (i + 32 <= to && i + 33 <= fill) {
        __m256i counts = _mm256_setzero_si256();
        for (int round = 0; round < 255 && i + 32 <= to && i + 33 <= fill; ++round, i += 32) {
            const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(d + i));
            const __m256i next = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(d + i + 1));
            const __m256i lonelyCrs =
                _mm256_andnot_si256(_mm256_cmpeq_epi8(next, lf), _mm256_cmpeq_epi8(a, cr));
            counts = _mm256_sub_epi8(counts, _mm256_or_si256(_mm256_cmpeq_epi8(a, lf), lonelyCrs));
        }
        const __m256i sums = _mm256_sad_epu8(counts, _mm256_setzero_si256());
        n += static_cast<size_t>(_mm256_extract_epi64(sums, 0)) +
             static_cast<size_t>(_mm256_extract_epi64(sums, 1)) +
             static_cast<size_t>(_mm256_extract_epi64(sums, 2)) +
             static_cast<size_t>(_mm256_extract_epi64(sums, 3));
    }
    return n + CountLineBreaksPlain(d, i, to, fill);
}

__attribute__((target("avx512bw"))) size_t NextTriggerAvx512(const char* d, size_t from,
                                                             size_t end) {
    size_t i = from;
    const __m512i firstI = _mm512_set1_epi8('i'), thirdE = _mm512_set1_epi8('e');
    const __m512i firstM = _mm512_set1_epi8('M'), thirdP = _mm512_set1_epi8('p');
    const __m512i firstS = _mm512_set1_epi8('S'), thirdR = _mm512_set1_epi8('r');
    while (i + 66 <= end) {
        const __m512i a = _mm512_loadu_si512(d + i);
        const __m512i c = _mm512_loadu_si512(d + i + 2);
        uint64_t mask = (_mm512_cmpeq_epi8_mask(a, firstI) & _mm512_cmpeq_epi8_mask(c, thirdE)) |
                        (_mm512_cmpeq_epi8_mask(a, firstM) & _mm512_cmpeq_epi8_mask(c, thirdP)) |
                        (_mm512_cmpeq_epi8_mask(a, firstS) & _mm512_cmpeq_epi8_mask(c, thirdR));
        for (; mask != 0; mask &= mask - 1) {
            const size_t pos = i + static_cast<size_t>(__builtin_ctzll(mask));
            if (TriggerAt(d + pos)) return pos;
        }
        i += 64;
    }
    return NextTriggerAvx2(d, i, end);
}

__attribute__((target("avx512bw,popcnt"))) size_t CountLineBreaksAvx512(const char* d, size_t from,
                                                                        size_t to, size_t fill) {
    size_t n = 0, i = from;
    const __m512i lf = _mm512_set1_epi8('\n'), cr = _mm512_set1_epi8('\r');
    for (; i + 64 <= to && i + 65 <= fill; i += 64) {
        const __m512i a = _mm512_loadu_si512(d + i);
        const __m512i next = _mm512_loadu_si512(d + i + 1);
        const uint64_t breaks = _mm512_cmpeq_epi8_mask(a, lf) |
                                (_mm512_cmpeq_epi8_mask(a, cr) & ~_mm512_cmpeq_epi8_mask(next, lf));
        n += static_cast<size_t>(__builtin_popcountll(breaks));
    }
    return n + CountLineBreaksAvx2(d, i, to, fill);
}

bool HaveAvx2() {
    static const bool have = __builtin_cpu_supports("avx2");
    return have;
}

bool HaveAvx512() {
    static const bool have = __builtin_cpu_supports("avx512bw");
    return have;
}

#else

size_t NextTriggerSse2(const char* d, size_t from, size_t end) {
    return NextTriggerPlain(d, from, end);
}
size_t NextTriggerAvx2(const char* d, size_t from, size_t end) {
    return NextTriggerPlain(d, from, end);
}
size_t CountLineBreaksSse2(const char* d, size_t from, size_t to, size_t fill) {
    return CountLineBreaksPlain(d, from, to, fill);
}
size_t CountLineBreaksAvx2(const char* d, size_t from, size_t to, size_t fill) {
    return CountLineBreaksPlain(d, from, to, fill);
}
size_t NextTriggerAvx512(const char* d, size_t from, size_t end) {
    return NextTriggerPlain(d, from, end);
}
size_t CountLineBreaksAvx512(const char* d, size_t from, size_t to, size_t fill) {
    return CountLineBreaksPlain(d, from, to, fill);
}
bool HaveAvx2() { return false; }
bool HaveAvx512() { return false; }

#endif

}  // namespace byte_scan_detail

size_t NextTrigger(const char* d, size_t from, size_t end) {
    using namespace byte_scan_detail;
    return HaveAvx512() ? NextTriggerAvx512(d, from, end)
           : HaveAvx2() ? NextTriggerAvx2(d, from, end)
                        : NextTriggerSse2(d, from, end);
}

size_t CountLineBreaks(const char* d, size_t from, size_t to, size_t fill) {
    using namespace byte_scan_detail;
    return HaveAvx512() ? CountLineBreaksAvx512(d, from, to, fill)
           : HaveAvx2() ? CountLineBreaksAvx2(d, from, to, fill)
                        : CountLineBreaksSse2(d, from, to, fill);
}

}  // namespace bw::check
