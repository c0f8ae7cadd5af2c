#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QGroupBox>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <chrono>
#include <filesystem>
#include <thread>

#include "core/Classification.h"
#include "core/TreePopulation.h"
#include "support/WindowFixture.h"
#include "ui/TreeModel.h"

namespace bw::test {
namespace {

// Each action as "name|caption|shortcut (or tooltip)|enabled; ", a separator as "name; ".
std::string Join(const QList<QAction*>& actions, bool tooltips = false) {
    QString out;
    for (const QAction* a : actions) {
        out += a->objectName();
        if (!a->isSeparator())
            out += "|" + a->text() + "|" + (tooltips ? a->toolTip() : a->shortcut().toString()) +
                   (a->isEnabled() ? "|1" : "|0");
        out += "; ";
    }
    return out.toStdString();
}

using frmMainTest = WindowFixture;

TEST_F(frmMainTest, PlacementCommandTextsAndAScanThatDefersTheClose) {
    for (const auto& [key, value] : {std::pair{"frmMain_Left", "1500"},
                                     {"frmMain_Top", "x"},
                                     {"frmMain_Width", "11700"},
                                     {"frmMain_Height", "6000"}})
        Write("WindowSize", key, value);  // in twips
    Start();
    EXPECT_EQ(window->size(), QSize(780, 400));
    EXPECT_TRUE(window->isEnabled() && !QApplication::overrideCursor());
    window->resize(100, 100);
    EXPECT_EQ(window->size(), QSize(752, 290));  // the minimum
    auto* bar = window->findChild<QToolBar*>("tlbMain");
    auto* print = qobject_cast<QToolButton*>(bar->widgetForAction(Cmd("PrintContents")));
    ASSERT_TRUE(print && print->menu());
    EXPECT_EQ(Join(bar->actions(), true),
              "Back|Back|Back one step|0; Forward|Forward|Forward one step|0; "
              "Refresh|Refresh|Refresh the information for this file or folder.|0; Separator1; "
              "Cut|Cut|Cut|0; Copy|Copy|Copy|0; Paste|Paste|Paste|0; Separator4; "
              "Open|Open|Open file (in default application) or folder (in Explorer).|0; "
              "Delete|Delete|Delete|0; Rename|Rename|Rename this|0; Separator2; "
              "PrintContents|Print|Print the contents of this folder or drive to a text file.|0; "
              "Separator3; Exit|Exit|Exit this program.|1; ");
    std::string menus = Join(print->menu()->actions());
    for (QAction* top : window->menuBar()->actions())
        menus += (top->menu()->objectName() + ":" + top->menu()->title()).toStdString() + "; " +
                 Join(top->menu()->actions());
    EXPECT_EQ(menus,
              "PrintFiles|Print folder contents||1; "
              "PrintFolders|Print folder AND all sub-folder contents||1; "
              "mnuFile:&File; mnuExit|E&xit|Ctrl+Q|1; mnuEdit:&Edit; mnuCut|Cu&t|Ctrl+X|0; "
              "mnuCopy|&Copy|Ctrl+C|0; mnuPaste|&Paste|Ctrl+V|0; mnuLine1; "
              "mnuRenameNode|R&ename|F2|1; mnuDeleteNode|&Delete|Del|0; mnuEditLine2; "
              "mnuRefresh|&Refresh|F5|1; mnuEditLineRefresh; mnuOpen|&Open|Ctrl+O|1; "
              "mnuPrintFolder|&Print Folder Contents|Ctrl+P|1; mnuEditLineRepair; "
              "mnuUndoRepair|&Undo Last Repair||1; mnuOptions:&Options; "
              "mnuPreferences|&Preferences||1; mnuColors|&Colors||1; "
              "mnuShowPreview|Show &Preview|F3|1; mnuTools:&Tools; "
              "mnuCheckLibrary|Check &Library...||1; mnuHelp:&Help; "
              "mnuAbout|&About|F1|1; ");
    auto* scan = window->findChild<QGroupBox*>("fraScan");
    auto* stop = window->findChild<QPushButton*>("cmdCancel");
    EXPECT_FALSE(scan->isVisible() || window->findChild<QWidget*>("pctShadow")->isVisible());
    std::string panel;  // the scan panel as laid out in twips, in pixels
    for (const char* name : {"fraScan", "lblStatus", "pctBack", "cmdCancel", "shpCancel"}) {
        const QRect r = window->findChild<QWidget*>(name)->geometry();
        panel += std::string(name) + " " + std::to_string(r.x()) + "," + std::to_string(r.y()) +
                 " " + std::to_string(r.width()) + "x" + std::to_string(r.height()) + "; ";
    }
    EXPECT_EQ(panel.substr(panel.find("x")),
              "x137; lblStatus 8,32 513x17; pctBack 8,48 513x17; cmdCancel 208,80 105x33; "
              "shpCancel 216,88 105x33; ");
    EXPECT_EQ(scan->size(), QSize(529, 137));

    window->SetScanMode(true);
    EXPECT_TRUE(scan->isVisible() && !window->treMain()->isEnabled() && !bar->isEnabled());
    app->commands.Enable("mnuOpen", true);  // a selection meanwhile does not unlock anything
    window->CommandsChanged();
    for (const char* name : {"mnuExit", "mnuRefresh", "mnuOpen", "mnuPreferences", "mnuAbout"})
        EXPECT_FALSE(Cmd(name)->isEnabled()) << name;
    stop->click();
    EXPECT_TRUE(app->StopScanRequested);
    app->StopScanRequested = false;
    EXPECT_FALSE(window->close());  // asks the scan to stop, closes once it has
    EXPECT_TRUE(app->StopScanRequested);
    EXPECT_EQ(Ini("WindowSize", "frmMain_Width"), "11700");  // not saved yet
    window->SetScanMode(false);
    EXPECT_TRUE(Cmd("mnuOpen")->isEnabled());
    WaitFor([] { return false; }, 50);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(Ini("WindowSize", "frmMain_Width") + " " + Ini("WindowSize", "frmMain_Height"),
              "11280 4350");
}

TEST_F(frmMainTest, ExpandingShowsTheSampleLibraryAndAClickSelects) {
    Start();
    const QModelIndex sample =
        Expand({"C:", "Poser4", "Runtime", "Libraries", "character", "Sample"});
    ASSERT_TRUE(sample.isValid());
    Node* folder = TreeModel::NodeOf(sample);
    const std::string refs =
        "(Click to scan for referencing files- this could take a few moments)\n";
    const std::string uses =
        "(Click to scan for files which reference this one- may take a little while)\n";
    std::string shown;  // text|tag|picture|colour|first child, as the view shows them
    for (const auto& n : folder->children()) {
        const QModelIndex i = window->model()->IndexOf(n.get());
        shown += i.data().toString().toStdString() + "|" + n->tag() + "|" + n->image() + "|" +
                 i.data(Qt::ForegroundRole).value<QColor>().name().toStdString() + "|" +
                 (n->firstChild() ? n->firstChild()->text() : "") + "\n";
    }
    EXPECT_EQ(shown, "Figure.cr2|File|PoserFile|#400000|" + refs +
                         "Figure.png|File|ImageFile|#004000|" + uses +
                         "Figure.rsr|File|File|#808080|\n"
                         "Robot.cr2|File|PoserFile|#400000|" +
                         refs + "Robot.png|File|ImageFile|#004000|" + uses +
                         "Robot.rsr|File|File|#808080|\n");

    Node* figure = folder->child(0);
    Click(window->model()->IndexOf(figure));
    EXPECT_EQ(app->CurrentNode.get(), figure);
    EXPECT_EQ(window->windowTitle().toStdString(), "Brindlewood: " + figure->FullPath());
    QString on;  // Back: nothing was current before
    for (const char* k : {"Delete", "mnuDeleteNode", "PrintContents", "Back"})
        on += Cmd(k)->isEnabled() ? '1' : '0';
    EXPECT_EQ(Cmd("Delete")->toolTip() + "|" + Cmd("mnuOpen")->text() + "|" + on,
              "Delete this file.|&Open this File|1100");

    // The arrow keys select like a click, and the step is recorded.
    window->treMain()->setFocus();
    Key(Qt::Key_Up);
    EXPECT_EQ(app->CurrentNode.get(), folder);
    Cmd("Back")->trigger();
    EXPECT_EQ(TreeModel::NodeOf(window->treMain()->currentIndex()), figure);

    ExpandNode(*app, *folder);  // a refill selects nothing by itself
    EXPECT_EQ(app->CurrentNode.get(), nullptr);
}

// What is highlighted is what the commands act on, whatever moved the view's current row.
TEST_F(frmMainTest, HighlightStaysOnCurrentNode) {
    for (const char* f : {"H/a.txt", "H/b.txt", "Test/A/x.txt", "Test/b.txt"}) c.createFile(f);
    Start();
    app->settings.ConfirmDelete = false;
    app->settings.MoveFile = false;
    const QModelIndex h = Expand({"C:", "H"});
    Node* folder = TreeModel::NodeOf(h);
    Click(Find(h, "a.txt"));
    Cmd("Delete")->trigger();
    EXPECT_FALSE(c.exists("H/a.txt"));
    EXPECT_EQ(app->CurrentNode.get(), folder);
    EXPECT_EQ(Highlighted(), folder);
    EXPECT_EQ(Texts(h), std::vector<std::string>{"b.txt"});

    const QModelIndex test = Expand({"C:", "Test"});
    Node* testNode = TreeModel::NodeOf(test);
    Click(test);
    Drag(Find(test, "A"), Find(test, "b.txt"));
    EXPECT_EQ(app->CurrentNode.get(), testNode);
    EXPECT_EQ(Highlighted(), testNode);
    EXPECT_EQ(window->windowTitle().toStdString(), "Brindlewood: C:\\Test");

    // A refill takes the current node away: nothing is highlighted and nothing can act on it.
    Click(Find(test, "b.txt"));
    ASSERT_TRUE(Cmd("Delete")->isEnabled());
    window->treMain()->collapse(test);
    window->treMain()->expand(test);
    EXPECT_EQ(app->CurrentNode.get(), nullptr);
    EXPECT_EQ(Highlighted(), nullptr);
    for (const char* name : {"Delete", "mnuDeleteNode", "Rename", "Open", "Refresh", "Copy"})
        EXPECT_FALSE(Cmd(name)->isEnabled()) << name;
    EXPECT_TRUE(c.exists("Test/b.txt"));
    Click(Find(test, "b.txt"));  // until the next selection
    EXPECT_TRUE(Cmd("Delete")->isEnabled());
}

TEST_F(frmMainTest, TheTreeTakesNoClicksDuringAScan) {
    Start();
    const QModelIndex shared = Expand({"C:", "Poser4", "Runtime", "Textures", "Shared"});
    const QModelIndex eyes = Find(shared, "Eyes.jpg"), chrome = Find(shared, "chrome.jpg");
    window->treMain()->expand(eyes);
    window->treMain()->expand(chrome);
    const QPersistentModelIndex other = Find(chrome, kScanForFileInFileText);
    bool midScan = false;
    QTimer::singleShot(0, window.get(), [&] {
        midScan = window->findChild<QWidget*>("fraScan")->isVisible();
        Click(other);
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(20));  // the scan's first yield pumps
    Click(Find(eyes, kScanForFileInFileText));
    ASSERT_TRUE(midScan);
    EXPECT_TRUE(Find(eyes, "This file is referenced by:").isValid());
    EXPECT_EQ(Texts(chrome), std::vector<std::string>{kScanForFileInFileText});
    EXPECT_EQ(TreeModel::NodeOf(eyes), app->CurrentNode->parent());
}

TEST_F(frmMainTest, APatternLeavesTheToolbarMenusAndTreeTheirOwnColours) {
    QImage tile(16, 16, QImage::Format_RGB32);
    tile.fill(Qt::darkGreen);
    ASSERT_TRUE(tile.save(QString::fromStdString(c.host("pattern.bmp"))));
    Write("AVSettings", "BackPattern", "C:\\pattern.bmp");
    Start();
    ASSERT_EQ(window->palette().brush(QPalette::Window).style(), Qt::TexturePattern);
    for (QWidget* w :
         {static_cast<QWidget*>(window->findChild<QToolBar*>("tlbMain")),
          static_cast<QWidget*>(window->menuBar()), static_cast<QWidget*>(window->treMain())}) {
        const QPalette own = QApplication::palette(w);
        for (auto role : {QPalette::Window, QPalette::WindowText, QPalette::Button,
                          QPalette::ButtonText, QPalette::Base}) {
            EXPECT_EQ(w->palette().brush(role).style(), Qt::SolidPattern) << role;
            EXPECT_EQ(w->palette().color(role), own.color(role)) << w->objectName().toStdString();
        }
    }
}

TEST_F(frmMainTest, StartsWithTheTreeFocusedOnTheLastFolder) {
    Write("Folder", "StartInLastFolder", "True");
    Write("Folder", "LastFolder", "C:\\Poser4\\Runtime\\");
    Start();
    Node* runtime = app->CurrentNode.get();
    ASSERT_TRUE(runtime && runtime->FullPath() == "C:\\Poser4\\Runtime");
    EXPECT_EQ(window->focusWidget(), window->treMain());
    EXPECT_EQ(Highlighted(), runtime);
    Key(Qt::Key_Down);
    EXPECT_EQ(app->CurrentNode.get(), runtime->firstChild());
}

TEST_F(frmMainTest, ExpandAllDoesNotFollowALinkToAFolder) {
    c.createDir("Top/Loop/sub/deep");
    std::filesystem::create_directory_symlink("..", c.host("Top/Loop/back"));
    Start();
    const QModelIndex loop = Expand({"C:", "Top", "Loop"});
    Click(loop);
    QElapsedTimer t;
    t.start();
    Key(Qt::Key_Asterisk, "*");
    EXPECT_LT(t.elapsed(), 2000);
    Node* node = TreeModel::NodeOf(loop);
    Node* back = childNamed(node, "back");
    Node* deep = childNamed(childNamed(node, "sub"), "deep");
    ASSERT_TRUE(back && deep);
    EXPECT_TRUE(deep->expanded());
    EXPECT_FALSE(back->expanded());
    EXPECT_EQ(back->childCount(), 1u);  // still the placeholder, never read
    EXPECT_EQ(Highlighted(), node);
    EXPECT_FALSE(QApplication::overrideCursor());
}

}  // namespace
}  // namespace bw::test
