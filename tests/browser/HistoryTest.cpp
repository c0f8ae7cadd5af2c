#include <gtest/gtest.h>

#include <string>

#include "browser/History.h"
#include "browser/Selection.h"
#include "core/TreePopulation.h"
#include "support/AppFixture.h"

namespace bw::test {
namespace {

class HistoryTest : public AppFixture {
  protected:
    HistoryTest() {
        for (const char* d : {"A", "B", "C", "D"}) c.createDir(std::string("lib/") + d);
        lib = expandTo("C:\\lib");
        ExpandNode(*app, *lib);  // the siblings come from one listing
    }
    // The current node's text and whether Back and Forward are on, e.g. "B10".
    std::string State() {
        return (app->CurrentNode ? app->CurrentNode->text() : "-") +
               (app->commands.IsEnabled("Back") ? "1" : "0") +
               (app->commands.IsEnabled("Forward") ? "1" : "0");
    }
    // A press, then the selection, as the tree delivers a click.
    void Click(Node* n) {
        RecordHistory(*app, 1);
        SelectThisNode(*app, n, SelectionSource::MouseClick);
    }
    // Clicks on folders A-D, Back (<) and Forward (>); answers the state after each step.
    std::string Walk(const std::string& steps) {
        std::string out;
        for (char s : steps) {
            s == '<' ? Back(*app) : s == '>' ? Forward(*app) : Click(childNamed(lib, {s}));
            out += (out.empty() ? "" : " ") + State();
            if (s == '<' || s == '>') {
                EXPECT_EQ(app->tree.selected(), app->CurrentNode.get());
            }
        }
        return out;
    }
    Node* lib = nullptr;
};

TEST_F(HistoryTest, BackAndForwardWalkTheVisitedNodes) {
    // The node clicked last is not recorded until the next press.
    EXPECT_EQ(Walk("ABC<<>"), "A00 B10 C10 B10 A01 B10");
}

TEST_F(HistoryTest, RecordingAfterBackOverwritesButKeepsLaterEntries) {
    EXPECT_EQ(Walk("ABCD<<<D>"), "A00 B10 C10 D10 C10 B11 A01 D11 C10");
    EXPECT_EQ(app->NodeHistory.size(), 4u);
}

TEST_F(HistoryTest, EntriesWhoseNodeLeftTheTreeAreSkipped) {
    Node* a = childNamed(lib, "A");
    Walk("ABC");
    app->tree.Remove(childNamed(lib, "B"));
    EXPECT_EQ(Walk("<"), "A01");
    app->tree.Remove(a);
    EXPECT_EQ(Walk(">"), "-00");              // B is gone and nothing lies beyond
    EXPECT_EQ(Walk("<").substr(0, 2), "-0");  // nothing alive behind either
}

TEST_F(HistoryTest, RefreshOnAPlaceholderOpensTheNodeAbove) {
    c.createFile("lib/A/Figure.cr2", "x");
    Node* file = expandTo("C:\\lib\\A\\Figure.cr2");
    ASSERT_TRUE(file && file->firstChild());
    lib = file->parent()->parent();  // read again on the way
    Walk("AA");
    // Made current directly: the placeholder's own action is not what is tested here.
    app->CurrentNode = NodeHandle(file->firstChild());
    c.createFile("lib/A/New.cr2", "x");
    RefreshCurrentNode(*app);
    ASSERT_TRUE(app->CurrentNode);
    EXPECT_TRUE(app->CurrentNode->expanded());
    EXPECT_EQ(desktop.Caption(), "Brindlewood:C:\\lib\\A\\Figure.cr2");
    EXPECT_EQ(State(), "Figure.cr200");
    EXPECT_EQ(app->NodeHistory.size(), 2u);  // the entries stay

    SelectThisNode(*app, childNamed(lib, "A"));  // a folder is read again from disk
    RefreshCurrentNode(*app);
    EXPECT_TRUE(childNamed(app->CurrentNode.get(), "New.cr2"));
}

}  // namespace
}  // namespace bw::test
