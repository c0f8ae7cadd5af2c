#include <gtest/gtest.h>

#include "browser/CommandDispatch.h"
#include "support/AppFixture.h"

namespace bw::test {
namespace {

using DispatchTest = AppFixture;

TEST_F(DispatchTest, PrintChoiceSticksForTheMenuItem) {
    struct Case {
        const char* key;
        bool subFolders;
    };
    const Case cases[] = {{"PrintFolders", true},
                          {"PrintContents", false},
                          {"PrintFolders", true},
                          {"PrintFiles", false},
                          {"Nonsense", false}};
    for (const Case& cs : cases) {
        RunToolbarCommand(*app, cs.key);
        EXPECT_EQ(app->PrintSubFolders, cs.subFolders) << cs.key;
        EXPECT_EQ(RunMenuCommand(*app, "mnuPrintFolder"), WindowAction::None);
        EXPECT_EQ(app->PrintSubFolders, cs.subFolders) << cs.key;
    }
    EXPECT_EQ(RunToolbarCommand(*app, "Exit"), WindowAction::Close);
    EXPECT_EQ(RunMenuCommand(*app, "mnuColors"), WindowAction::ShowColors);
}

}  // namespace
}  // namespace bw::test
