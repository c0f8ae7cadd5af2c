#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/AppState.h"
#include "app/Settings.h"
#include "app/frmMain.h"
#include "browser/TreeModel.h"
#include "browser/TreePopulation.h"
#include "platform/Profile.h"
#include "support/TestDir.h"

namespace bw::test {
namespace {

namespace fs = std::filesystem;

// Press and release at a point, as a mouse would deliver them.
void MouseClick(QWidget* w, const QPoint& at) {
    const QPointF local(at), global(w->mapToGlobal(at));
    QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(w, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, local, global, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(w, &release);
}

// Each action as "name|caption|tip or shortcut|enabled; ", a separator as "name; ".
std::string Join(const QList<QAction*>& actions, bool shortcuts) {
    QString out;
    for (const QAction* a : actions) {
        out += a->objectName();
        if (!a->isSeparator())
            out += "|" + a->text() + "|" + (shortcuts ? a->shortcut().toString() : a->toolTip()) +
                   "|" + (a->isEnabled() ? "1" : "0");
        out += "; ";
    }
    return out.toStdString();
}

// The main window on a temp Wine prefix whose C: holds the sample library.
class frmMainTest : public ::testing::Test {
  protected:
    frmMainTest() {
        prefix.createDir("dosdevices");
        fs::create_directory_symlink(c.path(), prefix.host("dosdevices/c:"));
        fs::copy(fs::path(BRINDLEWOOD_EXAMPLES_DIR) / "Poser4", c.host("Poser4"),
                 fs::copy_options::recursive);
        Write("Colors", "BackColor", "15136253");
        Write("Folder", "Runtime", "C:\\Poser4\\Runtime");
    }
    ~frmMainTest() override {
        if (window) window->Detach();
    }
    void Write(const char* section, const char* key, const std::string& value) {
        WritePrivateProfileString(section, key, value, prefix.host("Brindlewood.ini"));
    }
    std::string Read(const char* section, const char* key) {
        return GetPrivateProfileString(section, key, "(missing)", prefix.host("Brindlewood.ini"));
    }
    void Start() {
        window = std::make_unique<frmMain>();
        app = std::make_unique<AppState>(
            *window, std::make_unique<FileSystem>(DriveMap::FromPrefix(prefix.path())));
        LoadSettings(*app, app->fs->WindowsPath(prefix.host("Brindlewood.ini")));
        window->Load(*app);
    }
    // Expands through the view, as a user's clicks on the expand signs would.
    QModelIndex ExpandPath(const std::vector<std::string>& texts) {
        QAbstractItemModel* m = window->treMain()->model();
        QModelIndex at;
        for (const auto& t : texts) {
            const QModelIndexList found = m->match(m->index(0, 0, at), Qt::DisplayRole,
                                                   QString::fromStdString(t), 1, Qt::MatchExactly);
            if (found.isEmpty()) return {};
            window->treMain()->expand(at = found[0]);
        }
        return at;
    }
    void ClickNode(Node* n) {
        QTreeView* view = window->treMain();
        const QModelIndex index = window->model()->IndexOf(n);
        view->scrollTo(index);
        MouseClick(view->viewport(), view->visualRect(index).center());
    }
    QAction* Cmd(const char* name) { return window->Command(name); }
    template <class T = QWidget>
    T* Child(const char* name) {
        return window->findChild<T*>(name);
    }

    TestDir prefix;
    TestDir c;
    std::unique_ptr<frmMain> window;
    std::unique_ptr<AppState> app;
};

TEST_F(frmMainTest, ToolbarAndMenusShowTheirTextsInOrder) {
    Start();
    auto* bar = Child<QToolBar>("tlbMain");
    auto* print = qobject_cast<QToolButton*>(bar->widgetForAction(Cmd("PrintContents")));
    ASSERT_TRUE(print && print->menu());
    EXPECT_EQ(print->popupMode(), QToolButton::MenuButtonPopup);
    // A button without a tip of its own shows its caption; Separator4 has Qt's fallback tip.
    EXPECT_EQ(Join(bar->actions(), false) + Join(print->menu()->actions(), true),
              "Back|Back|Back one step|0; Forward|Forward|Forward one step|0; "
              "Refresh|Refresh|Refresh the information for this file or folder.|0; Separator1; "
              "Cut|Cut|Cut|0; Copy|Copy|Copy|0; Paste|Paste|Paste|0; Separator4; "
              "Open|Open|Open file (in default application) or folder (in Explorer).|0; "
              "Delete|Delete|Delete|0; Rename|Rename|Rename this|0; Separator2; "
              "PrintContents|Print|Print the contents of this folder or drive to a text file.|0; "
              "Separator3; Exit|Exit|Exit this program.|1; "
              "PrintFiles|Print folder contents||1; "
              "PrintFolders|Print folder AND all sub-folder contents||1; ");
    std::string menus;
    for (QAction* top : window->menuBar()->actions())
        menus += (top->menu()->objectName() + ":" + top->menu()->title()).toStdString() + "; " +
                 Join(top->menu()->actions(), true);
    EXPECT_EQ(menus,
              "mnuFile:&File; mnuExit|E&xit|Ctrl+Q|1; mnuEdit:&Edit; mnuCut|Cu&t|Ctrl+X|0; "
              "mnuCopy|&Copy|Ctrl+C|0; mnuPaste|&Paste|Ctrl+V|0; mnuLine1; "
              "mnuRenameNode|R&ename|F2|1; mnuDeleteNode|&Delete|Del|0; mnuEditLine2; "
              "mnuRefresh|&Refresh|F5|1; mnuEditLineRefresh; mnuOpen|&Open|Ctrl+O|1; "
              "mnuPrintFolder|&Print Folder Contents|Ctrl+P|1; mnuOptions:&Options; "
              "mnuPreferences|&Preferences||1; mnuColors|&Colors||1; mnuHelp:&Help; "
              "mnuAbout|&About|F1|1; ");

    EXPECT_FALSE(Child("fraScan")->isVisible() || Child("pctShadow")->isVisible());
    auto* stop = Child<QPushButton>("cmdCancel");
    EXPECT_EQ(Child<QGroupBox>("fraScan")->title() + "|" + Child<QLabel>("lblStatus")->text() +
                  "|" + stop->text() + "|" + stop->toolTip(),
              "Scanning for |Status...|&Stop Scan|Stop the scanning process.");
}

TEST_F(frmMainTest, ExpandingShowsTheSampleLibraryAndAClickSelects) {
    Start();
    const QModelIndex sample =
        ExpandPath({"C:", "Poser4", "Runtime", "Libraries", "character", "Sample"});
    ASSERT_TRUE(sample.isValid());
    Node* folder = TreeModel::NodeOf(sample);
    EXPECT_EQ(folder->FullPath(), "C:\\Poser4\\Runtime\\Libraries\\character\\Sample");
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
    ClickNode(figure);
    EXPECT_EQ(app->CurrentNode.get(), figure);
    EXPECT_EQ(window->windowTitle().toStdString(), "Brindlewood: " + figure->FullPath());
    EXPECT_EQ(Cmd("Delete")->toolTip() + "|" + Cmd("mnuOpen")->text(),
              "Delete this file.|&Open this File");
    std::string on;
    for (const char* k : {"Delete", "mnuDeleteNode", "PrintContents", "Back"})
        on += Cmd(k)->isEnabled() ? '1' : '0';
    EXPECT_EQ(on, "1100");  // Back: nothing was current before

    // The arrow keys select like a click, and the step is recorded.
    window->treMain()->setFocus();
    QKeyEvent up(QEvent::KeyPress, Qt::Key_Up, Qt::NoModifier);
    QApplication::sendEvent(window->treMain(), &up);
    EXPECT_EQ(app->CurrentNode.get(), folder);
    EXPECT_EQ(window->windowTitle().toStdString(), "Brindlewood: " + folder->FullPath());
    Cmd("Back")->trigger();
    EXPECT_EQ(app->CurrentNode.get(), figure);
    EXPECT_EQ(TreeModel::NodeOf(window->treMain()->currentIndex()), figure);

    ExpandNode(*app, *folder);  // a refill selects nothing by itself
    EXPECT_EQ(app->CurrentNode.get(), nullptr);
}

TEST_F(frmMainTest, ScanModeLeavesOnlyStopScanAndDefersTheClose) {
    Start();
    window->SetScanMode(true);
    EXPECT_TRUE(Child("fraScan")->isVisible());
    EXPECT_FALSE(window->treMain()->isEnabled());
    EXPECT_FALSE(Child("tlbMain")->isEnabled());
    app->commands.Enable("mnuOpen", true);  // a selection meanwhile does not unlock anything
    window->CommandsChanged();
    for (const char* name : {"mnuExit", "mnuRefresh", "mnuOpen", "mnuPreferences", "mnuAbout"})
        EXPECT_FALSE(Cmd(name)->isEnabled()) << name;

    Child<QPushButton>("cmdCancel")->click();
    EXPECT_TRUE(app->StopScanRequested);

    app->StopScanRequested = false;
    EXPECT_FALSE(window->close());  // asks the scan to stop, closes once it has
    EXPECT_TRUE(app->StopScanRequested);
    EXPECT_EQ(Read("WindowSize", "frmMain_Width"), "(missing)");
    window->SetScanMode(false);
    EXPECT_TRUE(Cmd("mnuOpen")->isEnabled());
    QElapsedTimer t;
    for (t.start(); t.elapsed() < 50;) QApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_FALSE(window->isVisible());
    EXPECT_NE(Read("WindowSize", "frmMain_Width"), "(missing)");
}

TEST_F(frmMainTest, PlacementAndLastFolderAreKeptAcrossRuns) {
    Write("WindowSize", "frmMain_Left", "1500");
    Write("WindowSize", "frmMain_Top", "x");
    Write("WindowSize", "frmMain_Width", "15000");
    Write("WindowSize", "frmMain_Height", "6000");
    Write("Folder", "StartInLastFolder", "True");
    Write("Folder", "LastFolder", "C:\\Poser4\\Runtime\\Libraries\\character\\Sample\\");
    Start();
    EXPECT_EQ(window->size(), QSize(1000, 400));
    EXPECT_TRUE(window->isEnabled());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    ASSERT_TRUE(app->CurrentNode);
    EXPECT_EQ(app->CurrentNode->FullPath(), "C:\\Poser4\\Runtime\\Libraries\\character\\Sample");
    EXPECT_EQ(TreeModel::NodeOf(window->treMain()->currentIndex()), app->CurrentNode.get());
    window->resize(100, 100);
    EXPECT_EQ(window->size(), QSize(752, 290));  // the minimum

    ClickNode(app->CurrentNode->child(0));  // a file: its folder is stored
    window->Command("Exit")->trigger();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(Read("WindowSize", "frmMain_Width"), "11280");
    EXPECT_EQ(Read("WindowSize", "frmMain_Height"), "4350");
    EXPECT_EQ(Read("Folder", "LastFolder"), "C:\\Poser4\\Runtime\\Libraries\\character\\Sample\\");
    EXPECT_FALSE(app->CurrentNode);
}

}  // namespace
}  // namespace bw::test
