#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "core/CommandLine.h"

namespace bw::test {
namespace {

struct InfoCase {
    std::vector<const char*> args;
    bool answered;
    const char* startsWith;
};

TEST(CommandLine, AnswersHelpAndVersionAndLeavesTheRestToTheToolkit) {
    const InfoCase cases[] = {
        {{"brindlewood", "--help"}, true, "Usage: brindlewood"},
        {{"brindlewood", "-platform", "offscreen", "-h"}, true, "Usage: brindlewood"},
        {{"brindlewood", "--version"}, true, "brindlewood 1."},
        {{"brindlewood"}, false, ""},
        {{"brindlewood", "-platform", "xcb"}, false, ""},
    };
    for (const auto& tc : cases) {
        std::ostringstream out;
        const auto code = AnswerInfoOptions(static_cast<int>(tc.args.size()), tc.args.data(), out);
        EXPECT_EQ(code.has_value(), tc.answered) << tc.args.back();
        if (tc.answered) {
            EXPECT_EQ(*code, 0);
        }
        EXPECT_EQ(out.str().rfind(tc.startsWith, 0), 0u) << out.str();
    }
}

}  // namespace
}  // namespace bw::test
