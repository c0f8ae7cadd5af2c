#include "app/frmMain.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMouseEvent>
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
    QMouseEvent release(QEvent::MouseButtonRelease, local, global, button, Qt::NoButton, Qt::NoModifier);
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
            c.createFile("Poser4/Runtime/Libraries/character/Figure.cr2", "version\r\n{\r\n}\r\n");
            c.createFile("Poser4/Runtime/Libraries/character/Figure.rsr", "x");
            c.createFile("Poser4/Runtime/Libraries/character/Figure.png", "x");
            c.createFile("Poser4/Runtime/Libraries/character/notes.txt", "x");
            c.createFile("Poser4/Runtime/Libraries/character/desktop.ini", "x");
            c.createDir("Poser4/Runtime/Libraries/character/Extra");
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
        app = std::make_unique<AppState>(*window, std::make_unique<FileSystem>(DriveMap::FromPrefix(prefix.path())));
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
    auto* bar = window->findChild<QToolBar*>("tlbMain");
    ASSERT_TRUE(bar);
    struct Button {
        const char* key;
        const char* caption;
        const char* tooltip;
        bool enabled;
    };
    const Button buttons[] = {
        {"Back", "Back", "Back one step", false},
        {"Forward", "Forward", "Forward one step", false},
        {"Refresh", "Refresh", "Refresh the information for this file or folder.", false},
        {"Separator1", "", "", true},
        {"Cut", "Cut", "", false},
        {"Copy", "Copy", "", false},
        {"Paste", "Paste", "", false},
        {"Separator4", "", "", true},
        {"Open", "Open", "Open file (in default application) or folder (in Explorer).", false},
        {"Delete", "Delete", "Delete", false},
        {"Rename", "Rename", "Rename this", false},
        {"Separator2", "", "", true},
        {"PrintContents", "Print", "Print the contents of this folder or drive to a text file.", false},
        {"Separator3", "", "", true},
        {"Exit", "Exit", "Exit this program.", true},
    };
    const QList<QAction*> actions = bar->actions();
    ASSERT_EQ(actions.size(), static_cast<qsizetype>(std::size(buttons)));
    for (size_t i = 0; i < std::size(buttons); ++i) {
        const Button& b = buttons[i];
        QAction* a = actions[static_cast<qsizetype>(i)];
        EXPECT_EQ(a->objectName().toStdString(), b.key);
        EXPECT_EQ(a->isSeparator(), std::string(b.key).rfind("Separator", 0) == 0) << b.key;
        if (a->isSeparator()) continue;
        EXPECT_EQ(a->text().toStdString(), b.caption);
        if (*b.tooltip) {
            EXPECT_EQ(a->toolTip().toStdString(), b.tooltip);
        }
        EXPECT_EQ(a->isEnabled(), b.enabled) << b.key;
    }
    auto* print = qobject_cast<QToolButton*>(bar->widgetForAction(Cmd("PrintContents")));
    ASSERT_TRUE(print && print->menu());
    EXPECT_EQ(print->popupMode(), QToolButton::MenuButtonPopup);
    ASSERT_EQ(print->menu()->actions().size(), 2);
    EXPECT_EQ(print->menu()->actions()[0]->objectName(), "PrintFiles");
    EXPECT_EQ(print->menu()->actions()[0]->text(), "Print folder contents");
    EXPECT_EQ(print->menu()->actions()[1]->objectName(), "PrintFolders");
    EXPECT_EQ(print->menu()->actions()[1]->text(), "Print folder AND all sub-folder contents");

    struct Item {
        const char* menu;
        const char* name;
        const char* caption;
        const char* shortcut;
        bool enabled;
    };
    const Item items[] = {
        {"mnuFile", "mnuExit", "E&xit", "Ctrl+Q", true},
        {"mnuEdit", "mnuCut", "Cu&t", "Ctrl+X", false},
        {"mnuEdit", "mnuCopy", "&Copy", "Ctrl+C", false},
        {"mnuEdit", "mnuPaste", "&Paste", "Ctrl+V", false},
        {"mnuEdit", "mnuLine1", "", "", true},
        {"mnuEdit", "mnuRenameNode", "R&ename", "F2", true},
        {"mnuEdit", "mnuDeleteNode", "&Delete", "Del", false},
        {"mnuEdit", "mnuEditLine2", "", "", true},
        {"mnuEdit", "mnuRefresh", "&Refresh", "F5", true},
        {"mnuEdit", "mnuEditLineRefresh", "", "", true},
        {"mnuEdit", "mnuOpen", "&Open", "Ctrl+O", true},
        {"mnuEdit", "mnuPrintFolder", "&Print Folder Contents", "Ctrl+P", true},
        {"mnuOptions", "mnuPreferences", "&Preferences", "", true},
        {"mnuOptions", "mnuColors", "&Colors", "", true},
        {"mnuHelp", "mnuAbout", "&About", "F1", true},
    };
    const char* menuCaptions[][2] = {{"mnuFile", "&File"}, {"mnuEdit", "&Edit"}, {"mnuOptions", "&Options"},
                                     {"mnuHelp", "&Help"}};
    const QList<QAction*> top = window->menuBar()->actions();
    ASSERT_EQ(top.size(), 4);
    for (int m = 0; m < 4; ++m) {
        QMenu* menu = top[m]->menu();
        ASSERT_TRUE(menu);
        EXPECT_EQ(menu->objectName(), menuCaptions[m][0]);
        EXPECT_EQ(menu->title(), menuCaptions[m][1]);
        std::vector<const Item*> expected;
        for (const Item& i : items)
            if (menu->objectName() == i.menu) expected.push_back(&i);
        ASSERT_EQ(menu->actions().size(), static_cast<qsizetype>(expected.size()));
        for (size_t k = 0; k < expected.size(); ++k) {
            QAction* a = menu->actions()[static_cast<qsizetype>(k)];
            EXPECT_EQ(a->objectName().toStdString(), expected[k]->name);
            if (a->isSeparator()) continue;
            EXPECT_EQ(a->text().toStdString(), expected[k]->caption);
            EXPECT_EQ(a->shortcut().toString().toStdString(), expected[k]->shortcut) << expected[k]->name;
            EXPECT_EQ(a->isEnabled(), expected[k]->enabled) << expected[k]->name;
        }
    }

    for (const char* name : {"fraScan", "pctShadow"}) {
        auto* w = window->findChild<QWidget*>(name);
        ASSERT_TRUE(w) << name;
        EXPECT_FALSE(w->isVisible()) << name;
    }
    EXPECT_EQ(window->findChild<QGroupBox*>("fraScan")->title(), "Scanning for ");
    EXPECT_EQ(window->findChild<QLabel*>("lblStatus")->text(), "Status...");
    auto* stop = window->findChild<QPushButton*>("cmdCancel");
    ASSERT_TRUE(stop);
    EXPECT_EQ(stop->text(), "&Stop Scan");
    EXPECT_EQ(stop->toolTip(), "Stop the scanning process.");
    for (const char* name : {"pctBack", "pctProgress", "shpCancel"}) EXPECT_TRUE(window->findChild<QWidget*>(name));
}

TEST_F(frmMainTest, FirstStartOpensAtTheDefaultPlaceAndAsksForRuntime) {
    // No settings file: the notice, then the Preferences dialog; both are closed as they come.
    std::vector<std::string> modals;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (QWidget* m = QApplication::activeModalWidget()) {
            modals.push_back(m->windowTitle().toStdString());
            m->close();
        }
    });
    closer.start(30);
    Start();
    closer.stop();
    ASSERT_EQ(modals.size(), 2u);
    EXPECT_EQ(modals[0], "Poser4\\Runtime folder needs to be set.");
    EXPECT_EQ(modals[1], "Preferences");
    EXPECT_EQ(window->width(), 752);
    EXPECT_EQ(window->height(), 290);
    ASSERT_FALSE(app->tree.roots().empty());
    EXPECT_EQ(app->tree.roots().back()->tag(), "Drive");
}

TEST_F(frmMainTest, ExpandingShowsTheLibraryAndAClickSelects) {
    WriteSettledIni();
    Start();
    const QModelIndex character = ExpandPath({"C:", "Poser4", "Runtime", "Libraries", "character"});
    ASSERT_TRUE(character.isValid());
    Node* folder = TreeModel::NodeOf(character);
    EXPECT_EQ(folder->FullPath(), "C:\\Poser4\\Runtime\\Libraries\\character");
    EXPECT_EQ(folder->tag(), "Folder");
    EXPECT_TRUE(window->treMain()->isExpanded(character));

    // Folders first, then files, each sorted without regard to case, as on disk.
    std::vector<std::string> dirs, files;
    for (const auto& e : fs::directory_iterator(c.host("Poser4/Runtime/Libraries/character")))
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
            firstChild = AsciiEqualsIgnoreCase(Tail(name, 3), "obj") ? kScanForFileInFileText : kScanForFileText;
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
    for (const char* name : {"mnuExit", "mnuRefresh", "mnuOpen", "mnuPreferences", "mnuAbout", "Exit"})
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
    Write("Folder", "LastFolder", "C:\\Poser4\\Runtime\\Libraries\\character\\");
    Start();
    EXPECT_EQ(window->width(), 1000);
    EXPECT_EQ(window->height(), 400);
    EXPECT_TRUE(window->isEnabled());
    ASSERT_TRUE(app->CurrentNode);
    EXPECT_EQ(app->CurrentNode->FullPath(), "C:\\Poser4\\Runtime\\Libraries\\character");
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
    EXPECT_EQ(Read("Folder", "LastFolder"), "C:\\Poser4\\Runtime\\Libraries\\character\\");
    EXPECT_FALSE(app->CurrentNode);
}

}  // namespace
}  // namespace bw::test
