#include <gtest/gtest.h>

#include "platform/Text.h"

namespace bw {
namespace {

TEST(SplitLines, AllThreeLineEndsAndNoEmptyLastLine) {
    auto lines = SplitLines("a\r\nb\nc\rd\r\n\r\ne");
    std::vector<std::string> got(lines.begin(), lines.end());
    EXPECT_EQ(got, (std::vector<std::string>{"a", "b", "c", "d", "", "e"}));
    EXPECT_EQ(SplitLines("x\n").size(), 1u);
    EXPECT_TRUE(SplitLines("").empty());
}

}  // namespace
}  // namespace bw
