#include <gtest/gtest.h>

#include "app/ReportError.h"
#include "platform/PlatformError.h"
#include "support/FakeDesktop.h"

namespace bw {
namespace {

TEST(ReportError, ShowsTheMessageOfTheNumber) {
    struct {
        int number;
        const char* description;
        const char* procedure;
        bool ownBox;  // the program's own box with OK only, else the system's
        std::string prompt;
        std::string title;
    } cases[] = {
        {70, "Permission denied", "DeleteThisNode: a.cr2", true,
         "This task can not be completed. Please check your security permissions and try again.",
         "File System Error"},
        {76, "Path not found", "PasteThisFile", true,
         "The drive is not ready. Please insert a disk and try again.", "File System Error"},
        {53, "File not found", "RemoveThisFile: C:\\temp\\a.cr2", false,
         "An error, 53: 'File not found' has occurred in RemoveThisFile: C:\\temp\\a.cr2.",
         "Notice"},
    };
    for (const auto& c : cases) {
        test::FakeDesktop desktop;
        ReportError(desktop, PlatformError(c.number, c.description), c.procedure);
        const auto& shown = c.ownBox ? desktop.msgBoxes : desktop.systemMessages;
        ASSERT_EQ(desktop.msgBoxes.size() + desktop.systemMessages.size(), 1u) << c.number;
        ASSERT_EQ(shown.size(), 1u) << c.number;
        EXPECT_EQ(shown[0].prompt, c.prompt);
        EXPECT_EQ(shown[0].title, c.title);
        EXPECT_EQ(shown[0].style, 0);
    }
}

}  // namespace
}  // namespace bw
