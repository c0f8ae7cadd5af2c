#include "browser/CommandDispatch.h"

#include <gtest/gtest.h>

#include "browser/History.h"
#include "browser/Selection.h"
#include "browser/TreePopulation.h"
#include "support/AppFixture.h"

namespace bw::test {
namespace {

using DispatchTest = AppFixture;

TEST_F(DispatchTest, WindowCommandsAreHandedBackToTheWindow) {
    struct Case {
        bool menu;
        const char* name;
        WindowAction action;
    };
    const Case cases[] = {
        {false, "Exit", WindowAction::Close},
        {true, "mnuExit", WindowAction::Close},
        {true, "mnuPreferences", WindowAction::ShowPreferences},
        {true, "mnuColors", WindowAction::ShowColors},
        {true, "mnuAbout", WindowAction::ShowAbout},
        {false, "exit", WindowAction::None},
        {false, "Nonsense", WindowAction::None},
        {true, "mnuNonsense", WindowAction::None},
        {true, "Exit", WindowAction::None},
    };
    for (const Case& cs : cases) {
        const WindowAction got = cs.menu ? RunMenuCommand(*app, cs.name) : RunToolbarCommand(*app, cs.name);
        EXPECT_EQ(got, cs.action) << cs.name;
    }
}

TEST_F(DispatchTest, PrintChoiceSticksForTheMenuItem) {
    struct Case {
        const char* key;
        bool subFolders;
    };
    const Case cases[] = {{"PrintFolders", true}, {"PrintContents", false}, {"PrintFolders", true},
                          {"PrintFiles", false}};
    for (const Case& cs : cases) {
        RunToolbarCommand(*app, cs.key);
        EXPECT_EQ(app->PrintSubFolders, cs.subFolders) << cs.key;
        RunMenuCommand(*app, "mnuPrintFolder");
        EXPECT_EQ(app->PrintSubFolders, cs.subFolders) << cs.key;
    }
}

TEST_F(DispatchTest, BackForwardAndRefreshAreRouted) {
    c.createDir("x/A");
    c.createDir("x/B");
    Node* x = expandTo("C:\\x");
    ExpandNode(*app, *x);
    Node* a = childNamed(x, "A");
    Node* b = childNamed(x, "B");
    SelectThisNode(*app, a);
    RecordHistory(*app, 1);
    SelectThisNode(*app, b);
    RecordHistory(*app, 1);  // history: A B _
    RunToolbarCommand(*app, "Back");
    RunToolbarCommand(*app, "Back");
    EXPECT_EQ(app->CurrentNode.get(), a);
    RunToolbarCommand(*app, "Forward");
    EXPECT_EQ(app->CurrentNode.get(), b);
    RunMenuCommand(*app, "mnuRefresh");
    EXPECT_EQ(desktop.Caption(), "Brindlewood:C:\\x\\B");
    EXPECT_FALSE(app->commands.IsEnabled("Back"));
}

}  // namespace
}  // namespace bw::test
