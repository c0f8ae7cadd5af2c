#include "browser/Selection.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/PlatformError.h"
#include "platform/WindowList.h"
#include "support/AppFixture.h"

namespace bw::test {
namespace {

// Titles handed out as if they were the desktop's windows.
class FedWindows : public WindowList {
public:
    std::vector<std::string> titles;
    bool fail = false;
    std::vector<std::string> Titles() override {
        if (fail) throw PlatformError(err::kDeviceIO, "gone");
        return titles;
    }
};

class SelectionTest : public AppFixture {
protected:
    // A node of the given tag under a folder node, like the tree would hold it.
    Node* NodeTagged(const std::string& t) {
        Node* folder = app->tree.AddChild(nullptr);
        folder->SetText("C:");
        folder->SetTag(tag::kDrive);
        Node* n = app->tree.AddChild(folder);
        n->SetText("item");
        n->SetTag(t);
        return n;
    }
    // The availability of the eight commands as "Refresh Cut Copy Paste Delete Open Print Rename",
    // checking that each toolbar key and its menu item agree.
    std::string Availability() {
        std::string s;
        for (const NodeCommand& c : kNodeCommands) {
            const bool on = app->commands.IsEnabled(c.key);
            EXPECT_EQ(on, app->commands.IsEnabled(c.menuItem)) << c.key;
            s += on ? '1' : '0';
        }
        return s;
    }
    FedWindows windows;
};

struct Row {
    const char* tag;
    bool protect;
    bool clipboard;
    const char* availability;  // Refresh Cut Copy Paste Delete Open Print Rename
    const char* deleteTip;
    const char* openTip;
    const char* openCaption;
    const char* renameTip;
};

TEST_F(SelectionTest, AvailabilityFollowsTheTagProtectionAndClipboard) {
    const Row rows[] = {
        {"SystemFolder", true, false, "10100000", "(Can not delete)", "(Can not open this folder)",
         "Can not &open this Folder", "(Can not rename)"},
        {"SystemFolder", true, true, "10100000", "(Can not delete)", "(Can not open this folder)",
         "Can not &open this Folder", "(Can not rename)"},
        {"SystemFolder", false, false, "10100110", "(Can not delete)", "Open this folder (in Windows Explorer)",
         "&Open this folder", "(Can not rename)"},
        {"SystemFile", true, false, "00100100", "(Can not delete)", "Open this file (in its default application)",
         "&Open this file", "(Can not rename)"},
        {"SystemFile", false, true, "00100100", "(Can not delete)", "Open this file (in its default application)",
         "&Open this file", "(Can not rename)"},
        {"Drive", true, false, "10000110", "(Can not delete)", "Open this drive (in Windows Explorer)",
         "&Open this drive", "(Can not rename)"},
        {"Drive", false, true, "10010110", "(Can not delete)", "Open this drive (in Windows Explorer)",
         "&Open this drive", "(Can not rename)"},
        {"Folder", true, false, "11101111", "Delete this folder.", "Open this folder (in Windows Explorer)",
         "&Open this folder", "Rename this folder."},
        {"Folder", true, true, "11111111", "Delete this folder.", "Open this folder (in Windows Explorer)",
         "&Open this folder", "Rename this folder."},
        {"RefFolder", true, true, "10000100", "(Can not delete)", "Open folder in Windows Explorer.",
         "&Open this Folder", "(Can not rename)"},
        {"File", true, false, "11101101", "Delete this file.", "Open file (in its default application)",
         "&Open this File", "Rename this file."},
        {"File", false, true, "11101101", "Delete this file.", "Open file (in its default application)",
         "&Open this File", "Rename this file."},
        {"Scan", true, true, "10000000", "(Can not delete)", "(Can not open)", "Can not &open this item",
         "(Can not rename)"},
        {"ScanForFileInFile", true, true, "10000000", "(Can not delete)", "(Can not open)",
         "Can not &open this item", "(Can not rename)"},
        {"ScanForFile", false, true, "10000000", "(Can not delete)", "(Can not open)", "Can not &open this item",
         "(Can not rename)"},
        {"Unable", true, true, "00000000", "(Can not delete)", "(Can not open)", "Can not &open this item",
         "(Can not rename)"},
        {"Reference", true, true, "00000000", "(Can not delete)", "(Can not open)", "Can not &open this item",
         "(Can not rename)"},
        {"ReferencedFile", false, true, "00000000", "(Can not delete)", "(Can not open)",
         "Can not &open this item", "(Can not rename)"},
        {"NotFound", true, false, "00000000", "(Can not delete)", "(Can not open)", "Can not &open this item",
         "(Can not rename)"},
        {"RefFile", true, true, "00000000", "(Can not delete)", "(Can not open)", "Can not &open this item",
         "(Can not rename)"},
        {"folder", true, true, "00000000", "(Can not delete)", "(Can not open)", "Can not &open this item",
         "(Can not rename)"},  // tags are case-sensitive
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.tag) + (r.protect ? " protected" : " unprotected") +
                     (r.clipboard ? " with clipboard" : ""));
        app->settings.ProtectSystemFilesFolders = r.protect;
        app->ClipboardPath = r.clipboard ? "C:\\x" : "";
        Node* n = NodeTagged(r.tag);
        SelectThisNode(*app, n);
        EXPECT_EQ(app->CurrentNode.get(), n);
        EXPECT_EQ(Availability(), r.availability);
        EXPECT_EQ(app->commands.tooltip["Delete"], r.deleteTip);
        EXPECT_EQ(app->commands.tooltip["Open"], r.openTip);
        EXPECT_EQ(app->commands.caption["mnuOpen"], r.openCaption);
        EXPECT_EQ(app->commands.tooltip["Rename"], r.renameTip);
        // The other buttons keep the toolbar's own tooltips.
        EXPECT_EQ(app->commands.tooltip.count("Cut"), 0u);
        EXPECT_EQ(app->commands.tooltip.count("PrintContents"), 0u);
    }
}

TEST_F(SelectionTest, CaptionShowsThePathAndNullOnlyClearsTheCurrentNode) {
    c.createDir("Poser4/Runtime");
    Node* runtime = expandTo("C:\\Poser4\\Runtime");
    ASSERT_TRUE(runtime);
    SelectThisNode(*app, runtime);
    EXPECT_EQ(desktop.Caption(), "Brindlewood: C:\\Poser4\\Runtime");
    const int changes = desktop.commandsChanged;
    const auto before = app->commands.enabled;

    SelectThisNode(*app, nullptr);
    EXPECT_FALSE(app->CurrentNode);
    EXPECT_EQ(desktop.Caption(), "Brindlewood: C:\\Poser4\\Runtime");
    EXPECT_EQ(desktop.commandsChanged, changes);
    EXPECT_EQ(app->commands.enabled, before);
}

TEST_F(SelectionTest, DeleteIsWithdrawnWhilePoserRunsButKeepsItsTooltip) {
    app->windows = &windows;
    windows.titles = {"Desktop", "Fred's Poser 4 - Untitled", "Panel"};
    for (const char* t : {"Folder", "File"}) {
        SelectThisNode(*app, NodeTagged(t));
        EXPECT_FALSE(app->commands.IsEnabled("Delete")) << t;
        EXPECT_FALSE(app->commands.IsEnabled("mnuDeleteNode")) << t;
        EXPECT_TRUE(app->commands.IsEnabled("Rename")) << t;
    }
    EXPECT_EQ(app->commands.tooltip["Delete"], "Delete this file.");

    windows.titles = {"Poser 4", "POSER"};
    SelectThisNode(*app, NodeTagged("File"));
    EXPECT_TRUE(app->commands.IsEnabled("Delete"));

    windows.fail = true;  // a window list that cannot be read is taken as Poser running
    SelectThisNode(*app, NodeTagged("File"));
    EXPECT_FALSE(app->commands.IsEnabled("Delete"));
}

TEST_F(SelectionTest, EditMenuPopsUpOnlyAfterARightClick) {
    struct Case {
        int button;
        SelectionSource source;
        int popups;
    };
    const Case cases[] = {
        {2, SelectionSource::MouseClick, 1},
        {1, SelectionSource::MouseClick, 0},
        {2, SelectionSource::Program, 0},  // keyboard, Back and Forward after a right click
        {0, SelectionSource::MouseClick, 0},
    };
    for (const Case& cs : cases) {
        desktop.popups = 0;
        app->LastMouseButton = cs.button;
        SelectThisNode(*app, NodeTagged("Folder"), cs.source);
        EXPECT_EQ(desktop.popups, cs.popups) << cs.button;
    }
}

TEST_F(SelectionTest, CutAndCopyGoTogether) {
    for (bool on : {true, false}) {
        EnableCutCopy(*app, on);
        for (const char* c : {"Cut", "mnuCut", "Copy", "mnuCopy"}) EXPECT_EQ(app->commands.IsEnabled(c), on) << c;
        EXPECT_EQ(app->commands.enabled.count("Paste"), 0u);
    }
}

}  // namespace
}  // namespace bw::test
