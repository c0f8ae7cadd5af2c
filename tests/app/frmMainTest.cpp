#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QGroupBox>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QToolBar>
#include <QToolButton>

#include "browser/TreeModel.h"
#include "browser/TreePopulation.h"
#include "support/WindowFixture.h"

namespace bw::test {
namespace {

// Each action as "name|caption|shortcut|enabled; ", a separator as "name; ".
std::string Join(const QList<QAction*>& actions) {
    QString out;
    for (const QAction* a : actions) {
        out += a->objectName();
        if (!a->isSeparator())
            out += "|" + a->text() + "|" + a->shortcut().toString() + "|" +
                   (a->isEnabled() ? "1" : "0");
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
    std::string tools;  // "key|caption|tooltip|enabled; " per button, separators by key alone
    for (const QAction* a : bar->actions())
        tools += (a->objectName() +
                  (a->isSeparator()
                       ? ""
                       : "|" + a->text() + "|" + a->toolTip() + (a->isEnabled() ? "|1" : "|0")) +
                  "; ")
                     .toStdString();
    EXPECT_EQ(tools,
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
              "mnuPrintFolder|&Print Folder Contents|Ctrl+P|1; mnuOptions:&Options; "
              "mnuPreferences|&Preferences||1; mnuColors|&Colors||1; mnuHelp:&Help; "
              "mnuAbout|&About|F1|1; ");
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
    QElapsedTimer t;
    for (t.start(); t.elapsed() < 50;) QApplication::processEvents(QEventLoop::AllEvents, 10);
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
    QKeyEvent up(QEvent::KeyPress, Qt::Key_Up, Qt::NoModifier);
    QApplication::sendEvent(window->treMain(), &up);
    EXPECT_EQ(app->CurrentNode.get(), folder);
    Cmd("Back")->trigger();
    EXPECT_EQ(TreeModel::NodeOf(window->treMain()->currentIndex()), figure);

    ExpandNode(*app, *folder);  // a refill selects nothing by itself
    EXPECT_EQ(app->CurrentNode.get(), nullptr);
}

}  // namespace
}  // namespace bw::test
