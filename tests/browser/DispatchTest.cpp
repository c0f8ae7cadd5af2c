#include <gtest/gtest.h>

#include "browser/CommandDispatch.h"
#include "support/AppFixture.h"

namespace bw::test {
namespace {

using DispatchTest = AppFixture;

TEST_F(DispatchTest, PrintChoiceSticksForTheMenuItem) {
    std::string seen;
    for (const char* key :
         {"PrintFolders", "PrintContents", "PrintFolders", "Nonsense", "PrintFiles"}) {
        RunToolbarCommand(*app, key);
        EXPECT_EQ(RunMenuCommand(*app, "mnuPrintFolder"), WindowAction::None);
        seen += app->PrintSubFolders ? '1' : '0';
    }
    EXPECT_EQ(seen, "10110");
}

}  // namespace
}  // namespace bw::test
