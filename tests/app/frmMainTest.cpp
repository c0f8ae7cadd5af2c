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
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>
#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/AppState.h"
#include "app/QtColor.h"
#include "app/Settings.h"
#include "app/frmMain.h"
#include "browser/Classification.h"
#include "browser/TreeModel.h"
#include "browser/TreePopulation.h"
#include "platform/Profile.h"
#include "platform/Text.h"
#include "support/TestDir.h"

namespace bw::test {
namespace {

namespace fs = std::filesystem;

// Press and release at a point, as a mouse would deliver them.
void MouseClick(QWidget* w, Qt::MouseButton button, const QPoint& at) {
    const QPointF local(at), global(w->mapToGlobal(at));
    QMouseEvent press(QEvent::MouseButtonPress, local, global, button, button, Qt::NoModifier);
    QApplication::sendEvent(w, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, local, global, button, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(w, &release);
}

void KeyClick(QWidget* w, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QApplication::sendEvent(w, &release);
}

void Wait(int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) QApplication::processEvents(QEventLoop::AllEvents, 10);
}

// The main window on a temp Wine prefix whose C: holds a small library.
class frmMainTest : public ::testing::Test {
  protected:
    frmMainTest() {
        prefix.createDir("dosdevices");
        fs::create_directory_symlink(c.path(), prefix.host("dosdevices/c:"));
        const fs::path sample = fs::path(BRINDLEWOOD_EXAMPLES_DIR) / "Poser4";
        if (fs::is_directory(sample / "Runtime")) {
            fs::copy(sample, c.host("Poser4"), fs::copy_options::recursive);
            fromSample = true;
        } else {
            c.createFile("Poser4/Runtime/Libraries/character/Sample/Figure.cr2", "version\r\n{\r\n}\r\n");
            c.createFile("Poser4/Runtime/Libraries/character/Sample/Figure.rsr", "x");
            c.createFile("Poser4/Runtime/Libraries/character/Sample/Figure.png", "x");
            c.createFile("Poser4/Runtime/Libraries/character/Sample/notes.txt", "x");
            c.createFile("Poser4/Runtime/Libraries/character/Sample/desktop.ini", "x");
            c.createDir("Poser4/Runtime/Libraries/character/Sample/Extra");
        }
        ini = prefix.host("Brindlewood.ini");
    }
    ~frmMainTest() override {
        if (window) window->Detach();
    }

    void Write(const char* section, const char* key, const std::string& value) {
        WritePrivateProfileString(section, key, value, ini);
    }
    std::string Read(const char* section, const char* key) {
        return GetPrivateProfileString(section, key, "(missing)", ini);
    }
    void WriteSettledIni() {
        Write("Colors", "BackColor", "15136253");
        Write("Folder", "Runtime", "C:\\Poser4\\Runtime");
    }
    void Start() {
        window = std::make_unique<frmMain>();
        app = std::make_unique<AppState>(
            *window, std::make_unique<FileSystem>(DriveMap::FromPrefix(prefix.path())));
        LoadSettings(*app, app->fs->WindowsPath(ini));
        window->Load(*app);
    }
    QModelIndex Child(const QModelIndex& parent, const std::string& text) {
        QAbstractItemModel* m = window->treMain()->model();
        for (int r = 0; r < m->rowCount(parent); ++r) {
            QModelIndex i = m->index(r, 0, parent);
            if (i.data().toString().toStdString() == text) return i;
        }
        return {};
    }
    // Expands through the view, as a user's click on the expand sign would.
    QModelIndex ExpandPath(const std::vector<std::string>& texts) {
        QModelIndex at;
        for (const auto& t : texts) {
            at = Child(at, t);
            if (!at.isValid()) return {};
            window->treMain()->expand(at);
        }
        return at;
    }
    void ClickNode(const QModelIndex& index, Qt::MouseButton button = Qt::LeftButton) {
        QTreeView* view = window->treMain();
        view->scrollTo(index);
        MouseClick(view->viewport(), button, view->visualRect(index).center());
    }
    QAction* Cmd(const char* name) { return window->Command(name); }

    TestDir prefix;
    TestDir c;
    std::string ini;
    bool fromSample = false;
    std::unique_ptr<frmMain> window;
    std::unique_ptr<AppState> app;
};

TEST_F(frmMainTest, ToolbarAndMenusAreLaidOutInOrder) {
    WriteSettledIni();
    Start();
    // key | caption | tooltip | enabled at start; separators are keys alone. A button without a tip
    // of its own shows its caption.
    const char* buttons[] = {
        "Back|Back|Back one step|0",
        "Forward|Forward|Forward one step|0",
        "Refresh|Refresh|Refresh the information for this file or folder.|0",
        "Separator1",
        "Cut|Cut|Cut|0",
        "Copy|Copy|Copy|0",
        "Paste|Paste|Paste|0",
        "Separator4",  // Qt's fallback tip
        "Open|Open|Open file (in default application) or folder (in Explorer).|0",
        "Delete|Delete|Delete|0",
        "Rename|Rename|Rename this|0",
        "Separator2",
        "PrintContents|Print|Print the contents of this folder or drive to a text file.|0",
        "Separator3",
        "Exit|Exit|Exit this program.|1"};
    auto* bar = window->findChild<QToolBar*>("tlbMain");
    ASSERT_TRUE(bar);
    std::vector<std::string> got;
    for (QAction* a : bar->actions()) {
        std::string row = a->objectName().toStdString();
        if (!a->isSeparator())
            row += "|" + a->text().toStdString() + "|" + a->toolTip().toStdString() + "|" +
                   (a->isEnabled() ? "1" : "0");
        got.push_back(row);
    }
    EXPECT_EQ(got, std::vector<std::string>(std::begin(buttons), std::end(buttons)));
    auto* print = qobject_cast<QToolButton*>(bar->widgetForAction(Cmd("PrintContents")));
    ASSERT_TRUE(print && print->menu());
    EXPECT_EQ(print->popupMode(), QToolButton::MenuButtonPopup);
    got.clear();
    for (QAction* a : print->menu()->actions())
        got.push_back((a->objectName() + "|" + a->text()).toStdString());
    EXPECT_EQ(got,
              (std::vector<std::string>{"PrintFiles|Print folder contents",
                                        "PrintFolders|Print folder AND all sub-folder contents"}));

    // menu: item | caption | shortcut | enabled at start
    const char* items[] = {"mnuFile:&File",
                           "mnuExit|E&xit|Ctrl+Q|1",
                           "mnuEdit:&Edit",
                           "mnuCut|Cu&t|Ctrl+X|0",
                           "mnuCopy|&Copy|Ctrl+C|0",
                           "mnuPaste|&Paste|Ctrl+V|0",
                           "mnuLine1",
                           "mnuRenameNode|R&ename|F2|1",
                           "mnuDeleteNode|&Delete|Del|0",
                           "mnuEditLine2",
                           "mnuRefresh|&Refresh|F5|1",
                           "mnuEditLineRefresh",
                           "mnuOpen|&Open|Ctrl+O|1",
                           "mnuPrintFolder|&Print Folder Contents|Ctrl+P|1",
                           "mnuOptions:&Options",
                           "mnuPreferences|&Preferences||1",
                           "mnuColors|&Colors||1",
                           "mnuHelp:&Help",
                           "mnuAbout|&About|F1|1"};
    got.clear();
    for (QAction* top : window->menuBar()->actions()) {
        got.push_back((top->menu()->objectName() + ":" + top->menu()->title()).toStdString());
        for (QAction* a : top->menu()->actions()) {
            std::string row = a->objectName().toStdString();
            if (!a->isSeparator())
                row += "|" + a->text().toStdString() + "|" +
                       a->shortcut().toString().toStdString() + "|" + (a->isEnabled() ? "1" : "0");
            got.push_back(row);
        }
    }
    EXPECT_EQ(got, std::vector<std::string>(std::begin(items), std::end(items)));

    EXPECT_FALSE(window->findChild<QWidget*>("fraScan")->isVisible());
    EXPECT_FALSE(window->findChild<QWidget*>("pctShadow")->isVisible());
    EXPECT_EQ(window->findChild<QGroupBox*>("fraScan")->title(), "Scanning for ");
    EXPECT_EQ(window->findChild<QLabel*>("lblStatus")->text(), "Status...");
    auto* stop = window->findChild<QPushButton*>("cmdCancel");
    EXPECT_EQ(stop->text(), "&Stop Scan");
    EXPECT_EQ(stop->toolTip(), "Stop the scanning process.");
}

TEST_F(frmMainTest, ExpandingShowsTheLibraryAndAClickSelects) {
    WriteSettledIni();
    Start();
    const QModelIndex character = ExpandPath({"C:", "Poser4", "Runtime", "Libraries", "character", "Sample"});
    ASSERT_TRUE(character.isValid());
    Node* folder = TreeModel::NodeOf(character);
    EXPECT_EQ(folder->FullPath(), "C:\\Poser4\\Runtime\\Libraries\\character\\Sample");
    EXPECT_EQ(folder->tag(), "Folder");
    EXPECT_TRUE(window->treMain()->isExpanded(character));

    // Folders first, then files, each sorted without regard to case, as on disk.
    std::vector<std::string> dirs, files;
    for (const auto& e : fs::directory_iterator(c.host("Poser4/Runtime/Libraries/character/Sample")))
        (e.is_directory() ? dirs : files).push_back(e.path().filename().string());
    auto byName = [](const std::string& a, const std::string& b) { return LessIgnoreCase(a, b); };
    std::sort(dirs.begin(), dirs.end(), byName);
    std::sort(files.begin(), files.end(), byName);
    std::vector<std::string> expected = dirs;
    expected.insert(expected.end(), files.begin(), files.end());
    ASSERT_EQ(folder->childCount(), expected.size());

    const Settings& s = app->settings;
    QModelIndex poserFile;
    for (size_t i = 0; i < expected.size(); ++i) {
        Node* n = folder->child(i);
        const QModelIndex index = window->model()->IndexOf(n);
        const std::string& name = expected[i];
        SCOPED_TRACE(name);
        EXPECT_EQ(index.data().toString().toStdString(), name);
        std::string image, tagName = "File", firstChild;
        int32_t color = s.OtherFileColor;
        if (i < dirs.size()) {
            image = "ClosedFolder", tagName = "Folder";
        } else if (IsPoserFile(name)) {
            image = "PoserFile", color = s.PoserFileColor;
            firstChild = AsciiEqualsIgnoreCase(Tail(name, 3), "obj") ? kScanForFileInFileText
                                                                     : kScanForFileText;
            if (!poserFile.isValid()) poserFile = index;
        } else if (IsImageFile(name)) {
            image = "ImageFile", color = s.ImageFileColor, firstChild = kScanForFileInFileText;
        } else if (IsSystemFile(name)) {
            image = "SystemFile", color = s.SystemFileColor, tagName = "SystemFile";
        } else {
            image = "File";
        }
        EXPECT_EQ(n->tag(), tagName);
        EXPECT_EQ(n->image(), image);
        if (i >= dirs.size()) {
            EXPECT_EQ(index.data(Qt::ForegroundRole).value<QColor>(), ColorFromNumber(color));
        }
        if (!firstChild.empty()) {
            ASSERT_TRUE(n->firstChild());
            EXPECT_EQ(n->firstChild()->text(), firstChild);
        }
    }

    ASSERT_TRUE(poserFile.isValid());
    ClickNode(poserFile);
    Node* clicked = TreeModel::NodeOf(poserFile);
    EXPECT_EQ(app->CurrentNode.get(), clicked);
    EXPECT_EQ(window->windowTitle().toStdString(), "Brindlewood: " + clicked->FullPath());
    EXPECT_TRUE(Cmd("Delete")->isEnabled());
    EXPECT_TRUE(Cmd("mnuDeleteNode")->isEnabled());
    EXPECT_EQ(Cmd("Delete")->toolTip(), "Delete this file.");
    EXPECT_EQ(Cmd("mnuOpen")->text(), "&Open this File");
    EXPECT_FALSE(Cmd("PrintContents")->isEnabled());
    EXPECT_FALSE(Cmd("Back")->isEnabled());  // nothing was current before

    // The arrow keys select like a click, and the step is recorded.
    window->treMain()->setFocus();
    KeyClick(window->treMain(), Qt::Key_Up);
    Node* above = TreeModel::NodeOf(window->treMain()->currentIndex());
    ASSERT_TRUE(above && above != clicked);
    EXPECT_EQ(app->CurrentNode.get(), above);
    EXPECT_EQ(window->windowTitle().toStdString(), "Brindlewood: " + above->FullPath());
    EXPECT_TRUE(Cmd("Back")->isEnabled());
    Cmd("Back")->trigger();
    EXPECT_EQ(app->CurrentNode.get(), clicked);
    EXPECT_EQ(TreeModel::NodeOf(window->treMain()->currentIndex()), clicked);

    // Refilling the folder moves the view's current row, but selects nothing by itself.
    ExpandNode(*app, *folder);
    EXPECT_EQ(app->CurrentNode.get(), nullptr);  // the clicked node left with the refill
}

TEST_F(frmMainTest, ScanModeLeavesOnlyStopScanAndDefersTheClose) {
    WriteSettledIni();
    Start();
    window->SetScanMode(true);
    EXPECT_TRUE(window->findChild<QWidget*>("fraScan")->isVisible());
    EXPECT_FALSE(window->treMain()->isEnabled());
    EXPECT_FALSE(window->findChild<QToolBar*>("tlbMain")->isEnabled());
    for (const char* name :
         {"mnuExit", "mnuRefresh", "mnuOpen", "mnuPreferences", "mnuAbout", "Exit"})
        EXPECT_FALSE(Cmd(name)->isEnabled()) << name;
    app->commands.Enable("mnuOpen", true);  // a selection meanwhile does not unlock anything
    window->CommandsChanged();
    EXPECT_FALSE(Cmd("mnuOpen")->isEnabled());

    window->SetScanCaption("Scanning for skin.jpg");
    window->SetScanStatus("Libraries\\character\\Figure.cr2");
    window->SetScanProgress(0.5);
    EXPECT_EQ(window->findChild<QGroupBox*>("fraScan")->title(), "Scanning for skin.jpg");
    EXPECT_EQ(window->findChild<QLabel*>("lblStatus")->text(), "Libraries\\character\\Figure.cr2");
    const int track = window->findChild<QWidget*>("pctBack")->contentsRect().width();
    EXPECT_NEAR(window->findChild<QWidget*>("pctProgress")->width(), track / 2, 1);

    auto* stop = window->findChild<QPushButton*>("cmdCancel");
    ASSERT_TRUE(stop->isEnabled());
    stop->click();
    EXPECT_TRUE(app->StopScanRequested);

    app->StopScanRequested = false;
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(app->StopScanRequested);
    EXPECT_EQ(Read("WindowSize", "frmMain_Width"), "(missing)");  // nothing torn down yet

    window->SetScanMode(false);
    EXPECT_TRUE(Cmd("mnuOpen")->isEnabled());
    Wait(50);
    EXPECT_FALSE(window->isVisible());
    EXPECT_NE(Read("WindowSize", "frmMain_Width"), "(missing)");
}

TEST_F(frmMainTest, PlacementAndLastFolderAreKeptAcrossRuns) {
    WriteSettledIni();
    Write("WindowSize", "frmMain_Left", "1500");
    Write("WindowSize", "frmMain_Top", "x");
    Write("WindowSize", "frmMain_Width", "15000");
    Write("WindowSize", "frmMain_Height", "6000");
    Write("Folder", "StartInLastFolder", "True");
    Write("Folder", "LastFolder", "C:\\Poser4\\Runtime\\Libraries\\character\\Sample\\");
    Start();
    EXPECT_EQ(window->width(), 1000);
    EXPECT_EQ(window->height(), 400);
    EXPECT_TRUE(window->isEnabled());
    ASSERT_TRUE(app->CurrentNode);
    EXPECT_EQ(app->CurrentNode->FullPath(), "C:\\Poser4\\Runtime\\Libraries\\character\\Sample");
    EXPECT_EQ(TreeModel::NodeOf(window->treMain()->currentIndex()), app->CurrentNode.get());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    // Shrinking below the minimum snaps back.
    window->resize(100, 100);
    EXPECT_EQ(window->width(), 752);
    EXPECT_EQ(window->height(), 290);

    // A file selected at exit stores the folder that holds it.
    Node* file = nullptr;
    for (const auto& ch : app->CurrentNode->children())
        if (ch->tag() == "File" && !file) file = ch.get();
    ASSERT_TRUE(file);
    ClickNode(window->model()->IndexOf(file));
    EXPECT_EQ(app->CurrentNode.get(), file);
    window->Command("Exit")->trigger();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(Read("WindowSize", "frmMain_Width"), "11280");
    EXPECT_EQ(Read("WindowSize", "frmMain_Height"), "4350");
    EXPECT_EQ(Read("Folder", "LastFolder"), "C:\\Poser4\\Runtime\\Libraries\\character\\Sample\\");
    EXPECT_FALSE(app->CurrentNode);
}

}  // namespace
}  // namespace bw::test
