#include <gtest/gtest.h>

#include <random>

#include "platform/Text.h"
#include "references/CaseFoldedFinder.h"

namespace bw {
namespace {

// The block search must agree with the plain one everywhere: at block edges, at the end of the
// haystack, and for bytes that differ from a letter only in the case bit ('@' and '`', '[' and
// '{').
TEST(CaseFoldedFinder, AgreesWithPlainSearch) {
    std::mt19937 random(7);
    const std::string alphabet = "aAbB.@`[{\x01\xc3\xa4";
    for (int round = 0; round < 3000; ++round) {
        std::string hay(random() % 80, ' ');
        for (auto& ch : hay) ch = alphabet[random() % alphabet.size()];
        std::string needle(1 + random() % 4, ' ');
        for (auto& ch : needle) ch = alphabet[random() % alphabet.size()];
        const size_t from = random() % (hay.size() + 2);
        ASSERT_EQ(CaseFoldedFinder(needle).Find(hay, from), FindIgnoreCase(hay, needle, from))
            << "hay '" << hay << "' needle '" << needle << "' from " << from;
    }
}

}  // namespace
}  // namespace bw
