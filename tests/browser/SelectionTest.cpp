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

// What may act on the item follows its kind: nothing deletes, cuts or renames a drive, a system
// item or a line of the listing, whatever else is on.
TEST_F(SelectionTest, AvailabilityAndEditMenuFollowTheSelection) {
    // tag, protected, clipboard -> availability
    const std::tuple<std::string, bool, bool, const char*> rows[] = {
        // clang-format off
        {"SystemFolder", true, true, "10100000"}, {"SystemFolder", false, false, "10100110"},
        {"SystemFile", true, false, "00100100"}, {"Drive", true, false, "10000110"},
        {"Drive", false, true, "10010110"}, {"Folder", true, false, "11101111"},
        {"Folder", true, true, "11111111"}, {"RefFolder", true, true, "10000100"},
        {"File", false, true, "11101101"}, {"Scan", true, true, "10000000"},
        {"ScanForFile", false, true, "10000000"}, {"Unable", true, true, "00000000"},
        {"Reference", true, true, "00000000"}, {"ReferencedFile", false, true, "00000000"},
        {"folder", true, true, "00000000"},  // tags are case-sensitive
        // clang-format on
    };
    for (const auto& [tag, protect, clipboard, availability] : rows) {
        SCOPED_TRACE(tag + (protect ? " protected" : "") + (clipboard ? "+" : ""));
        app->settings.ProtectSystemFilesFolders = protect;
        app->ClipboardPath = clipboard ? "C:\\x" : "";
        Node* n = Select(tag);
        if (tag.find("Scan") != 0) {  // a scan placeholder's action moves on
            EXPECT_EQ(app->CurrentNode.get(), n);
            EXPECT_EQ(desktop.Caption(), "Brindlewood: C:\\item");
        }
        EXPECT_EQ(Availability(), availability);
    }
    EXPECT_EQ(app->commands.tooltip["Delete"], "(Can not delete)");

    app->LastMouseButton = 2;  // the edit menu pops up after a right click only
    Select("Folder", SelectionSource::MouseClick);
    Select("Folder");  // keyboard, Back, Forward
    app->LastMouseButton = 1;
    Select("Folder", SelectionSource::MouseClick);
    EXPECT_EQ(desktop.popups, 1);
}

}  // namespace
}  // namespace bw::test
