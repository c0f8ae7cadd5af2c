#include <gtest/gtest.h>

#include <random>
#include <string>

#include "check/ByteScan.h"

namespace bw::check {
namespace {

using namespace byte_scan_detail;

// Bytes drawn from the triggers' letters and the line ends, so that hits, near misses and CR LF
// pairs fall on every offset of a vector, its edges included.
std::string RandomText(std::mt19937& rng, size_t size) {
    static constexpr std::string_view kAlphabet = "ileMapScr\r\n\r\nx";
    std::uniform_int_distribution<size_t> pick(0, kAlphabet.size() - 1);
    std::string text(size, ' ');
    for (char& c : text) c = kAlphabet[pick(rng)];
    return text;
}

TEST(ByteScan, EveryWidthAgreesWithThePlainLoop) {
    std::mt19937 rng(7);
    for (int round = 0; round < 3000; ++round) {
        const std::string text =
            RandomText(rng, std::uniform_int_distribution<size_t>(0, 400)(rng));
        const size_t fill = text.size();
        const size_t from = fill ? std::uniform_int_distribution<size_t>(0, fill)(rng) : 0;
        const size_t to = std::uniform_int_distribution<size_t>(from, fill)(rng);
        const char* d = text.data();
        SCOPED_TRACE(::testing::Message() << "text=" << ::testing::PrintToString(text)
                                          << " from=" << from << " to=" << to);
        const size_t trigger = NextTriggerPlain(d, from, to);
        const size_t breaks = CountLineBreaksPlain(d, from, to, fill);
        EXPECT_EQ(NextTriggerSse2(d, from, to), trigger);
        EXPECT_EQ(CountLineBreaksSse2(d, from, to, fill), breaks);
        if (HaveAvx2()) {
            EXPECT_EQ(NextTriggerAvx2(d, from, to), trigger);
            EXPECT_EQ(CountLineBreaksAvx2(d, from, to, fill), breaks);
        }
        if (HaveAvx512()) {
            EXPECT_EQ(NextTriggerAvx512(d, from, to), trigger);
            EXPECT_EQ(CountLineBreaksAvx512(d, from, to, fill), breaks);
        }
        if (HasFailure()) return;
    }
}

TEST(ByteScan, CountsLongRunsPastTheVectorCounters) {
    // More line ends than a byte-wide lane counter holds before it is summed.
    for (const std::string end : {"\n", "\r", "\r\n"}) {
        std::string text;
        for (int i = 0; i < 20000; ++i) text += end;
        EXPECT_EQ(CountLineBreaks(text.data(), 0, text.size(), text.size()), 20000u);
    }
}

}  // namespace
}  // namespace bw::check
