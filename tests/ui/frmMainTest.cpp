#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QGroupBox>
#include <QMenu>
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

using frmMainTest = WindowFixture;

TEST_F(frmMainTest, PlacementAndAScanThatDefersTheClose) {
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
    ASSERT_TRUE(print && print->menu());  // files only, or sub-folders too
    EXPECT_EQ(print->menu()->actions().size(), 2);
    for (const char* name : {"Cut", "Copy", "Paste", "Delete", "Open", "Rename", "PrintContents"})
        EXPECT_FALSE(Cmd(name)->isEnabled()) << name;  // nothing is selected yet
    auto* scan = window->findChild<QGroupBox*>("fraScan");
    auto* stop = window->findChild<QPushButton*>("cmdCancel");
    EXPECT_FALSE(scan->isVisible() || window->findChild<QWidget*>("pctShadow")->isVisible());

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
    // The view turns each kind's stored colour (BGR, as the settings keep it) into its own.
    std::string shown;
    for (const auto& n : folder->children()) {
        const QModelIndex i = window->model()->IndexOf(n.get());
        shown += i.data(Qt::ForegroundRole).value<QColor>().name().toStdString() + " ";
    }
    EXPECT_EQ(shown, "#400000 #004000 #808080 #400000 #004000 #808080 ");

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
