#include <gtest/gtest.h>

#include "app/ReportError.h"
#include "platform/PlatformError.h"
#include "support/FakeDesktop.h"

namespace bw {
namespace {

struct ReportCase {
    int number;
    const char* description;
    const char* procedure;
    bool ownBox;  // the program's own box, else the system's
    const char* prompt;
    const char* title;
};

class ReportErrorTexts : public ::testing::TestWithParam<ReportCase> {};

INSTANTIATE_TEST_SUITE_P(
    Numbers, ReportErrorTexts,
    ::testing::Values(
        ReportCase{70, "Permission denied", "DeleteThisNode: a.cr2", true,
                   "This task can not be completed. Please check your security permissions and "
                   "try again.",
                   "File System Error"},
        ReportCase{76, "Path not found", "PasteThisFile", true,
                   "The drive is not ready. Please insert a disk and try again.",
                   "File System Error"},
        ReportCase{53, "File not found", "RemoveThisFile: C:\\temp\\a.cr2", false,
                   "An error, 53: 'File not found' has occurred in RemoveThisFile: "
                   "C:\\temp\\a.cr2.",
                   "Notice"},
        ReportCase{58, "File already exists", "frmColors_cmdSave_Click", false,
                   "An error, 58: 'File already exists' has occurred in frmColors_cmdSave_Click.",
                   "Notice"}));

TEST_P(ReportErrorTexts, ShowsTheMessageOfTheNumber) {
    const ReportCase& c = GetParam();
    test::FakeDesktop desktop;
    ReportError(desktop, PlatformError(c.number, c.description), c.procedure);
    const auto& shown = c.ownBox ? desktop.msgBoxes : desktop.systemMessages;
    const auto& other = c.ownBox ? desktop.systemMessages : desktop.msgBoxes;
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_TRUE(other.empty());
    EXPECT_EQ(shown[0].prompt, c.prompt);
    EXPECT_EQ(shown[0].title, c.title);
    if (c.ownBox) {
        EXPECT_EQ(shown[0].style, 0);
    }
}

}  // namespace
}  // namespace bw
