#include <gtest/gtest.h>

#include <random>
#include <string>
#include <tuple>

#include "check/ByteScan.h"

namespace bw::check {
namespace {

using namespace byte_scan_detail;
using namespace std::string_view_literals;

// Bytes drawn from the triggers' letters, the line ends, and bytes that share a trigger letter's
// low four bits (with and without the top bit), so that hits, near misses and CR LF pairs fall on
// every offset of a vector, its edges included.
std::string RandomText(std::mt19937& rng, size_t size) {
    static constexpr std::string_view kAlphabet = "ileMapScr\r\n\r\nx)=3\xE9\xCD\xD3\0"sv;
    std::uniform_int_distribution<size_t> pick(0, kAlphabet.size() - 1);
    std::string text(size, ' ');
    for (char& c : text) c = kAlphabet[pick(rng)];
    return text;
}

TEST(ByteScan, EveryWidthAgreesWithThePlainLoop) {
    std::mt19937 rng(7);
    for (int round = 0; round < 3000; ++round) {
        // Now and then long enough for the line counters to be emptied on the way.
        const size_t longest = round % 50 == 0 ? 40000 : 400;
        const std::string text =
            RandomText(rng, std::uniform_int_distribution<size_t>(0, longest)(rng));
        const size_t fill = text.size();
        const size_t from = fill ? std::uniform_int_distribution<size_t>(0, fill)(rng) : 0;
        const size_t to = std::uniform_int_distribution<size_t>(from, fill)(rng);
        const char* d = text.data();
        SCOPED_TRACE(::testing::Message() << "text=" << ::testing::PrintToString(text)
                                          << " from=" << from << " to=" << to);
        size_t breaks = 0;
        const size_t trigger = NextTriggerPlain(d, from, to, fill, breaks);
        using Width = size_t (*)(const char*, size_t, size_t, size_t, size_t&);
        for (const auto& [name, width, runs] :
             {std::tuple<const char*, Width, bool>{"sse2", NextTriggerSse2, true},
              {"avx2", NextTriggerAvx2, HaveAvx2()},
              {"avx512", NextTriggerAvx512, HaveAvx512()}}) {
            if (!runs) continue;
            SCOPED_TRACE(name);
            size_t counted = 0;
            EXPECT_EQ(width(d, from, to, fill, counted), trigger);
            EXPECT_EQ(counted, breaks);
        }
        if (HasFailure()) return;
    }
}

TEST(ByteScan, NextLineEndFindsTheFirstLfOrCrOnEveryOffset) {
    for (size_t at = 0; at < 40; ++at)
        for (const char end : {'\n', '\r'}) {
            std::string text(40, 'x');
            text[at] = end;
            EXPECT_EQ(NextLineEnd(text.data(), 0, text.size()), at);
            EXPECT_EQ(NextLineEnd(text.data(), 0, at), at);  // none before `end`
            EXPECT_EQ(NextLineEnd(text.data(), at + 1, text.size()), text.size());
        }
}

TEST(ByteScan, CountsEveryKindOfLineEnd) {
    for (const std::string end : {"\n", "\r", "\r\n"}) {
        std::string text;
        for (int i = 0; i < 20000; ++i) text += end + "x";
        text += "Map";
        size_t breaks = 0;
        EXPECT_EQ(NextTrigger(text.data(), 0, text.size(), text.size(), breaks), text.size() - 3);
        EXPECT_EQ(breaks, 20000u);
    }
}

}  // namespace
}  // namespace bw::check
