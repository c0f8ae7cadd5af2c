#include <gtest/gtest.h>

#include <tuple>

#include "core/ReportError.h"
#include "platform/PlatformError.h"
#include "support/FakeDesktop.h"

namespace bw {
namespace {

TEST(ReportError, ShowsTheMessageOfTheNumber) {
    const std::tuple<int, const char*, const char*, std::string> cases[] = {
        // number, description, procedure -> what is shown
        {70, "Permission denied", "DeleteThisNode: a.cr2",
         "own box|File System Error|0|This task can not be completed. Please check your security "
         "permissions and try again."},
        {76, "Path not found", "PasteThisFile",
         "own box|File System Error|0|The drive is not ready. Please insert a disk and try again."},
        {53, "File not found", "RemoveThisFile: C:\\temp\\a.cr2",
         "system box|Notice|0|An error, 53: 'File not found' has occurred in RemoveThisFile: "
         "C:\\temp\\a.cr2."},
    };
    for (const auto& [number, description, procedure, expected] : cases) {
        test::FakeDesktop desktop;
        ReportError(desktop, PlatformError(number, description), procedure);
        const std::string kind = desktop.systemMessages.empty() ? "own box|" : "system box|";
        for (const auto& m : desktop.systemMessages) desktop.msgBoxes.push_back(m);
        EXPECT_EQ(kind + desktop.Shown(), expected + "\n");
    }
}

}  // namespace
}  // namespace bw
