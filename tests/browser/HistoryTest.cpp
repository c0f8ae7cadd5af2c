#include <gtest/gtest.h>

#include <string>

#include "browser/History.h"
#include "browser/Selection.h"
#include "browser/TreePopulation.h"
#include "support/AppFixture.h"

namespace bw::test {
namespace {

class HistoryTest : public AppFixture {
  protected:
    HistoryTest() {
        for (const char* d : {"A", "B", "C", "D"}) c.createDir(std::string("lib/") + d);
        // Expanding refills every folder on the way, so the siblings are taken from one listing.
        lib = expandTo("C:\\lib");
        ExpandNode(*app, *lib);
        a = childNamed(lib, "A");
        b = childNamed(lib, "B");
        cc = childNamed(lib, "C");
    }
    // A left click on a node, as the tree delivers it: the press, then the click.
    void Click(Node* n, int button = 1) {
        RecordHistory(*app, button);
        SelectThisNode(*app, n, SelectionSource::MouseClick);
    }
    std::string Current() { return app->CurrentNode ? app->CurrentNode->text() : "(none)"; }
    bool BackOn() { return app->commands.IsEnabled("Back"); }
    bool ForwardOn() { return app->commands.IsEnabled("Forward"); }

    Node* lib = nullptr;
    Node* a = nullptr;
    Node* b = nullptr;
    Node* cc = nullptr;
};

TEST_F(HistoryTest, BackAndForwardWalkTheVisitedNodes) {
    Click(a);
    EXPECT_FALSE(BackOn());  // nothing was current before the first click
    Click(b);
    Click(cc);
    EXPECT_TRUE(BackOn());

    struct Step {
        void (*run)(AppState&);
        const char* current;
        bool back, forward;
    };
    const Step steps[] = {
        {Back, "B", true, false},
        {Back, "A", false, true},
        {Forward, "B", true, false},  // C was never recorded
    };
    for (const Step& s : steps) {
        s.run(*app);
        EXPECT_EQ(Current(), s.current);
        EXPECT_EQ(app->tree.selected(), app->CurrentNode.get());
        EXPECT_EQ(BackOn(), s.back) << s.current;
        EXPECT_EQ(ForwardOn(), s.forward) << s.current;
    }
}

TEST_F(HistoryTest, RecordingAfterBackOverwritesButKeepsLaterEntries) {
    Node* d = childNamed(lib, "D");
    Click(a);
    Click(b);
    Click(cc);
    Click(d);  // history: A B C _
    for (int i = 0; i < 3; ++i) Back(*app);
    EXPECT_EQ(Current(), "A");
    Click(d);  // records A at 0 again
    EXPECT_EQ(app->HistoryPosition, 1);
    EXPECT_EQ(app->NodeHistory.size(), 4u);
    EXPECT_TRUE(ForwardOn());
    Forward(*app);
    EXPECT_EQ(Current(), "C");
    EXPECT_FALSE(ForwardOn());
}

TEST_F(HistoryTest, EntriesWhoseNodeLeftTheTreeAreSkipped) {
    Click(a);
    Click(b);
    Click(cc);  // history: A B _
    app->tree.Remove(b);
    Back(*app);
    EXPECT_EQ(Current(), "A");
    EXPECT_FALSE(BackOn());
    EXPECT_TRUE(ForwardOn());

    app->tree.Remove(a);
    Forward(*app);  // B is gone and there is nothing beyond: nothing happens
    EXPECT_EQ(app->CurrentNode.get(), nullptr);  // A itself went with the refill
    EXPECT_FALSE(ForwardOn());
    Back(*app);  // nothing alive behind either
    EXPECT_FALSE(BackOn());
}

TEST_F(HistoryTest, RefreshOnAPlaceholderOpensTheNodeAbove) {
    c.createFile("lib/A/Figure.cr2", "x");
    Node* file = expandTo("C:\\lib\\A\\Figure.cr2");
    ASSERT_TRUE(file && file->firstChild());
    a = file->parent();  // the folder was read again on the way
    Click(a);
    // The placeholder is made current directly: its own action is not what is tested here.
    RecordHistory(*app, 1);
    app->CurrentNode = NodeHandle(file->firstChild());
    const auto before = app->commands.enabled;
    c.createFile("lib/A/New.cr2", "x");

    RefreshCurrentNode(*app);
    Node* current = app->CurrentNode.get();
    ASSERT_TRUE(current);
    EXPECT_EQ(current->FullPath(), "C:\\lib\\A\\Figure.cr2");
    EXPECT_TRUE(current->expanded());
    EXPECT_EQ(desktop.Caption(), "Brindlewood:C:\\lib\\A\\Figure.cr2");
    EXPECT_FALSE(BackOn());
    EXPECT_FALSE(ForwardOn());
    EXPECT_EQ(app->HistoryPosition, 0);
    EXPECT_EQ(app->NodeHistory.size(), 2u);  // entries stay
    for (const char* k :
         {"Refresh", "Cut", "Copy", "Paste", "Delete", "Open", "PrintContents", "Rename"})
        EXPECT_EQ(app->commands.IsEnabled(k), before.at(k)) << k;

    // A folder is read again from disk.
    SelectThisNode(*app, a);
    RefreshCurrentNode(*app);
    EXPECT_TRUE(childNamed(app->CurrentNode.get(), "New.cr2"));
}

}  // namespace
}  // namespace bw::test
