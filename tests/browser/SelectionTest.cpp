#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "browser/Selection.h"
#include "platform/PlatformError.h"
#include "platform/WindowList.h"
#include "support/AppFixture.h"

namespace bw::test {
namespace {

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
    Node* NodeTagged(const std::string& t) {
        Node* drive = app->tree.AddChild(nullptr);
        drive->SetText("C:");
        drive->SetTag(tag::kDrive);
        Node* n = app->tree.AddChild(drive);
        n->SetText("item");
        n->SetTag(t);
        return n;
    }
    // "Refresh Cut Copy Paste Delete Open Print Rename" as 0/1; each key agrees with its menu item.
    std::string Availability() {
        std::string s;
        for (const NodeCommand& c : kNodeCommands) {
            EXPECT_EQ(app->commands.IsEnabled(c.key), app->commands.IsEnabled(c.menuItem)) << c.key;
            s += app->commands.IsEnabled(c.key) ? '1' : '0';
        }
        return s;
    }
    FedWindows windows;
};

const char *D1 = "(Can not delete)", *D2 = "Delete this folder.", *D3 = "Delete this file.";
const char *R1 = "(Can not rename)", *R2 = "Rename this folder.", *R3 = "Rename this file.";
struct Open {
    const char *tip, *caption;
};
const Open O1{"Open this folder (in Windows Explorer)", "&Open this folder"},
    O2{"(Can not open this folder)", "Can not &open this Folder"},
    O3{"Open this file (in its default application)", "&Open this file"},
    O4{"Open this drive (in Windows Explorer)", "&Open this drive"},
    O5{"Open folder in Windows Explorer.", "&Open this Folder"},
    O6{"Open file (in its default application)", "&Open this File"},
    O7{"(Can not open)", "Can not &open this item"};

TEST_F(SelectionTest, AvailabilityFollowsTheTagProtectionAndClipboard) {
    struct Row {
        const char* tag;
        bool protect, clipboard;
        const char* availability;
        const char* del;
        Open open;
        const char* rename;
    };
    const Row rows[] = {
        {"SystemFolder", true, true, "10100000", D1, O2, R1},
        {"SystemFolder", false, false, "10100110", D1, O1, R1},
        {"SystemFile", true, false, "00100100", D1, O3, R1},
        {"SystemFile", false, true, "00100100", D1, O3, R1},
        {"Drive", true, false, "10000110", D1, O4, R1},
        {"Drive", false, true, "10010110", D1, O4, R1},
        {"Folder", true, false, "11101111", D2, O1, R2},
        {"Folder", true, true, "11111111", D2, O1, R2},
        {"RefFolder", true, true, "10000100", D1, O5, R1},
        {"File", true, false, "11101101", D3, O6, R3},
        {"File", false, true, "11101101", D3, O6, R3},
        {"Scan", true, true, "10000000", D1, O7, R1},
        {"ScanForFileInFile", true, true, "10000000", D1, O7, R1},
        {"ScanForFile", false, true, "10000000", D1, O7, R1},
        {"Unable", true, true, "00000000", D1, O7, R1},
        {"Reference", true, true, "00000000", D1, O7, R1},
        {"ReferencedFile", false, true, "00000000", D1, O7, R1},
        {"NotFound", true, false, "00000000", D1, O7, R1},
        {"RefFile", true, true, "00000000", D1, O7, R1},
        {"folder", true, true, "00000000", D1, O7, R1},  // tags are case-sensitive
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.tag) + (r.protect ? " protected" : "") +
                     (r.clipboard ? " clip" : ""));
        app->settings.ProtectSystemFilesFolders = r.protect;
        app->ClipboardPath = r.clipboard ? "C:\\x" : "";
        Node* n = NodeTagged(r.tag);
        SelectThisNode(*app, n);
        // The placeholders' own actions go on to change the caption and the current node.
        const std::string t = r.tag;
        if (t != "Scan" && t != "ScanForFile" && t != "ScanForFileInFile") {
            EXPECT_EQ(app->CurrentNode.get(), n);
            EXPECT_EQ(desktop.Caption(), "Brindlewood: C:\\item");
        }
        EXPECT_EQ(Availability(), r.availability);
        EXPECT_EQ(app->commands.tooltip["Delete"], r.del);
        EXPECT_EQ(app->commands.tooltip["Open"], r.open.tip);
        EXPECT_EQ(app->commands.caption["mnuOpen"], r.open.caption);
        EXPECT_EQ(app->commands.tooltip["Rename"], r.rename);
        EXPECT_EQ(app->commands.tooltip.size(), 3u);  // Refresh, Cut, Print ... keep their own
    }
    const auto before = app->commands.enabled;
    SelectThisNode(*app, nullptr);
    EXPECT_FALSE(app->CurrentNode);
    EXPECT_EQ(app->commands.enabled, before);
}

TEST_F(SelectionTest, DeleteIsWithdrawnWhilePoserRunsButKeepsItsTooltip) {
    app->windows = &windows;
    struct Case {
        std::vector<std::string> titles;
        bool fail, deletable;
    };
    const Case cases[] = {{{"Desktop", "Fred's Poser 4 - Untitled"}, false, false},
                          {{"Poser 4", "POSER"}, false, true},
                          {{}, true, false}};  // an unreadable window list counts as running
    for (const Case& cs : cases) {
        windows.titles = cs.titles;
        windows.fail = cs.fail;
        SelectThisNode(*app, NodeTagged("File"));
        EXPECT_EQ(app->commands.IsEnabled("Delete"), cs.deletable);
        EXPECT_EQ(app->commands.IsEnabled("mnuDeleteNode"), cs.deletable);
        EXPECT_TRUE(app->commands.IsEnabled("Rename"));
        EXPECT_EQ(app->commands.tooltip["Delete"], D3);
    }
}

TEST_F(SelectionTest, EditMenuPopsUpOnlyAfterARightClick) {
    struct Case {
        int button;
        SelectionSource source;
        int popups;
    };
    const Case cases[] = {{2, SelectionSource::MouseClick, 1},
                          {1, SelectionSource::MouseClick, 0},
                          {2, SelectionSource::Program, 0}};  // keyboard, Back, Forward
    for (const Case& cs : cases) {
        desktop.popups = 0;
        app->LastMouseButton = cs.button;
        SelectThisNode(*app, NodeTagged("Folder"), cs.source);
        EXPECT_EQ(desktop.popups, cs.popups) << cs.button;
    }
}

}  // namespace
}  // namespace bw::test
