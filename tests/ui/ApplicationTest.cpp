#include <gtest/gtest.h>

#include <QApplication>
#include <new>
#include <stdexcept>

#include "core/ReportError.h"
#include "platform/PlatformError.h"
#include "support/FakeDesktop.h"
#include "ui/Application.h"
#include "ui/frmMain.h"

namespace bw {
namespace {

// What escapes an event handler is shown, as every other error is, and the program goes on.
TEST(EventTrap, ReportsWhatEscapesAHandlerAndCarriesOn) {
    const std::pair<std::function<void()>, std::string> cases[] = {
        {[] { throw std::bad_alloc(); }, "An error, 7: 'Out of memory' has occurred in frmMain."},
        {[] { throw PlatformError::FromNumber(err::kFileNotFound); },
         "An error, 53: 'File not found' has occurred in frmMain."},
        {[] { throw std::out_of_range("vector index"); },
         "An error, 51: 'vector index' has occurred in frmMain."},
        {[] { throw PlatformError::FromNumber(err::kPermissionDenied); }, kSecurityMessage},
    };
    for (const auto& [fault, shown] : cases) {
        test::FakeDesktop desktop;
        EventTrap trap;
        trap.SetReporter(&desktop);
        EXPECT_FALSE(trap.Run([&] { return fault(), true; }, "frmMain"));
        const auto& boxes =
            desktop.systemMessages.empty() ? desktop.msgBoxes : desktop.systemMessages;
        ASSERT_EQ(boxes.size(), 1u) << shown;
        EXPECT_EQ(boxes[0].prompt, shown);
        EXPECT_TRUE(trap.Run([] { return true; }, "frmMain"));  // the next event goes through
    }
}

// The report's own box runs events; one that fails again meanwhile must not stack another box.
TEST(EventTrap, AFailureWhileReportingIsNotReportedAgain) {
    EventTrap trap;
    struct Nested : test::FakeDesktop {
        EventTrap* trap = nullptr;
        int boxes = 0;
        void ShowSystemMessage(const std::string&, const std::string&) override {
            ++boxes;
            trap->Run([]() -> bool { throw std::runtime_error("again"); }, "frmMain");
        }
    } nested;
    nested.trap = &trap;
    trap.SetReporter(&nested);
    trap.Run([]() -> bool { throw std::runtime_error("first"); }, "frmMain");
    EXPECT_EQ(nested.boxes, 1);
    trap.Run([]() -> bool { throw std::runtime_error("later"); }, "frmMain");
    EXPECT_EQ(nested.boxes, 2);
}

TEST(SetUpApplication, EveryWindowWearsTheProgramIcon) {
    SetUpApplication(*qApp);
    EXPECT_FALSE(QApplication::windowIcon().isNull());
    frmMain window;
    EXPECT_FALSE(window.windowIcon().pixmap(32).isNull());
}

}  // namespace
}  // namespace bw
