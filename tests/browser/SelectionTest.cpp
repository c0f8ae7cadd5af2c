#include <gtest/gtest.h>

#include "browser/Selection.h"
#include "support/AppFixture.h"

namespace bw::test {
namespace {

class SelectionTest : public AppFixture {
  protected:
    // Selects a fresh C:\item with this tag.
    Node* Select(const std::string& tag, SelectionSource source = SelectionSource::Program) {
        Node* drive = app->tree.AddChild(nullptr);
        drive->SetText("C:");
        drive->SetTag(tag::kDrive);
        Node* n = app->tree.AddChild(drive);
        n->SetText("item");
        n->SetTag(tag);
        SelectThisNode(*app, n, source);
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
};

// clang-format off
// Delete and Rename tooltips: of anything else, of a folder, of a file.
const char* kDeleteRename[][2] = {{"(Can not delete)", "(Can not rename)"},
    {"Delete this folder.", "Rename this folder."}, {"Delete this file.", "Rename this file."}};
// Open's tooltip and menu caption.
const char* kOpen[][2] = {{"(Can not open)", "Can not &open this item"},
    {"Open this folder (in Windows Explorer)", "&Open this folder"}, {"(Can not open this folder)", "Can not &open this Folder"},
    {"Open this file (in its default application)", "&Open this file"}, {"Open this drive (in Windows Explorer)", "&Open this drive"},
    {"Open folder in Windows Explorer.", "&Open this Folder"}, {"Open file (in its default application)", "&Open this File"}};
// clang-format on

TEST_F(SelectionTest, AvailabilityTextsAndEditMenuFollowTheSelection) {
    // tag, protected, clipboard, availability, rows of the text tables above
    const std::tuple<std::string, bool, bool, const char*, int, int> rows[] = {
        // clang-format off
        {"SystemFolder", true, true, "10100000", 0, 2}, {"SystemFolder", false, false, "10100110", 0, 1}, {"SystemFile", true, false, "00100100", 0, 3},
        {"SystemFile", false, true, "00100100", 0, 3}, {"Drive", true, false, "10000110", 0, 4}, {"Drive", false, true, "10010110", 0, 4},
        {"Folder", true, false, "11101111", 1, 1}, {"Folder", true, true, "11111111", 1, 1}, {"RefFolder", true, true, "10000100", 0, 5},
        {"File", true, false, "11101101", 2, 6}, {"File", false, true, "11101101", 2, 6}, {"Scan", true, true, "10000000", 0, 0},
        {"ScanForFileInFile", true, true, "10000000", 0, 0}, {"ScanForFile", false, true, "10000000", 0, 0}, {"Unable", true, true, "00000000", 0, 0},
        {"Reference", true, true, "00000000", 0, 0}, {"ReferencedFile", false, true, "00000000", 0, 0}, {"NotFound", true, false, "00000000", 0, 0},
        {"RefFile", true, true, "00000000", 0, 0},
        {"folder", true, true, "00000000", 0, 0},  // tags are case-sensitive
        // clang-format on
    };
    for (const auto& [tag, protect, clipboard, availability, deleteRename, open] : rows) {
        SCOPED_TRACE(tag + (protect ? " protected" : "") + (clipboard ? "+" : ""));
        app->settings.ProtectSystemFilesFolders = protect;
        app->ClipboardPath = clipboard ? "C:\\x" : "";
        Node* n = Select(tag);
        if (tag.find("Scan") != 0) {  // a scan placeholder's action moves on
            EXPECT_EQ(app->CurrentNode.get(), n);
            EXPECT_EQ(desktop.Caption(), "Brindlewood: C:\\item");
        }
        EXPECT_EQ(Availability(), availability);
        EXPECT_EQ(app->commands.tooltip["Delete"], kDeleteRename[deleteRename][0]);
        EXPECT_EQ(app->commands.tooltip["Rename"], kDeleteRename[deleteRename][1]);
        EXPECT_EQ(app->commands.tooltip["Open"], kOpen[open][0]);
        EXPECT_EQ(app->commands.caption["mnuOpen"], kOpen[open][1]);
        EXPECT_EQ(app->commands.tooltip.size(), 3u);  // the other buttons keep their own tips
    }

    app->LastMouseButton = 2;  // the edit menu pops up after a right click only
    Select("Folder", SelectionSource::MouseClick);
    Select("Folder");  // keyboard, Back, Forward
    app->LastMouseButton = 1;
    Select("Folder", SelectionSource::MouseClick);
    EXPECT_EQ(desktop.popups, 1);
}

}  // namespace
}  // namespace bw::test
