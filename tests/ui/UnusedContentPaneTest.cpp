#include <gtest/gtest.h>

#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTableView>
#include <filesystem>

#include "check/CheckTestSupport.h"
#include "fileops/FileopsFixture.h"
#include "ui/UnusedContentPane.h"

namespace bw::test {
namespace {

// The pane over a copy of the sample library, with a few more unused files: a geometry with
// thumbnail companions of which the .png is a texture a pose uses.
class UnusedContentPaneTest : public AppFixture {
  protected:
    UnusedContentPaneTest() {
        std::filesystem::copy(std::string(BRINDLEWOOD_EXAMPLES_DIR) + "/Poser4", c.host("Poser4"),
                              std::filesystem::copy_options::recursive);
        c.createFile("Poser4/Runtime/Textures/Spare/big.jpg", std::string(1234, 'j'));
        c.createFile("Poser4/Runtime/Geometries/Spare/Old.obj", std::string(10, 'o'));
        c.createFile("Poser4/Runtime/Geometries/Spare/Old.rsr", "rsr");
        c.createFile("Poser4/Runtime/Geometries/Spare/Old.png", "png");
        c.createFile("Poser4/Runtime/Libraries/Pose/Sample/Odd.pz2",
                     "{\n\ttextureMap :Runtime:Geometries:Spare:Old.png\n}\n");
        app->shell = &shell;
        app->settings.MoveFile = true;
        app->settings.ConfirmDelete = true;
    }
    // Runs a whole check of the copy and shows what it leaves unused.
    void ShowChecked() {
        check::CheckOptions options;
        options.runtime = runtime;
        options.drives = app->fs->driveMap();
        check::fixture::RowCollector rows;
        const std::atomic<bool> cancel{false};
        check::RunLibraryCheck(options, rows, cancel);
        pane.Show(runtime, rows.rows_, options.drives);
    }
    std::string Listed() const {
        std::string out;
        for (int r = 0; r < pane.grdUnused->model()->rowCount(); ++r)
            out += pane.grdUnused->model()->index(r, 0).data().toString().toStdString() + "|" +
                   pane.grdUnused->model()->index(r, 1).data().toString().toStdString() + "\n";
        return out;
    }
    void Select(std::initializer_list<int> rows) {
        pane.grdUnused->clearSelection();
        for (int r : rows)
            pane.grdUnused->selectionModel()->select(
                pane.grdUnused->model()->index(r, 0),
                QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    static std::string N(uint64_t n) {
        return QLocale::system().toString(static_cast<qulonglong>(n)).toStdString();
    }

    FakeShell shell;
    UnusedContentPane pane{*app};
    const std::string runtime = c.host("Poser4/Runtime");
};

TEST_F(UnusedContentPaneTest, ListsTheUnusedFilesAndMovesTheSelectedOnesWithTheirCompanions) {
    EXPECT_EQ(pane.lblTotals->text(), "Listed when a check has run to its end.");
    EXPECT_FALSE(pane.cmdExportCsv->isEnabled() || pane.cmdRecycle->isEnabled());
    ShowChecked();
    EXPECT_EQ(Listed(),
              "C:\\Poser4\\Runtime\\Geometries\\Spare\\Old.obj|10\n"
              "C:\\Poser4\\Runtime\\Textures\\Old\\chrome.jpg|321\n"
              "C:\\Poser4\\Runtime\\Textures\\Spare\\big.jpg|" +
                  N(1234) + "\n");
    EXPECT_EQ(pane.lblTotals->text().toStdString(), "3 files, " + N(1565) + " bytes unused");
    EXPECT_TRUE(pane.lblUnreadable->isHidden());
    EXPECT_FALSE(pane.cmdRecycle->isEnabled());  // nothing selected

    // Sorting by size puts the largest first when descending.
    pane.grdUnused->sortByColumn(1, Qt::DescendingOrder);
    EXPECT_EQ(Listed().substr(0, Listed().find('|')),
              "C:\\Poser4\\Runtime\\Textures\\Spare\\big.jpg");
    pane.grdUnused->sortByColumn(0, Qt::AscendingOrder);

    Select({0});
    ASSERT_TRUE(pane.cmdRecycle->isEnabled());
    desktop.msgAnswers = {answer::kNo};
    pane.cmdRecycle->click();
    ASSERT_EQ(desktop.msgBoxes.size(), 1u);
    EXPECT_EQ(desktop.msgBoxes[0].title, "Deleting the 'Old.obj' file...");
    EXPECT_EQ(desktop.msgBoxes[0].prompt,
              "Are you sure you want to move the 'Old.obj' file to the Recycle Bin?");
    EXPECT_TRUE(shell.trashed.empty());
    EXPECT_EQ(pane.grdUnused->model()->rowCount(), 3);

    // The used .png companion stays; the .rsr goes with its geometry.
    desktop.msgAnswers = {answer::kYes};
    pane.cmdRecycle->click();
    EXPECT_EQ(shell.trashed, (std::vector<std::string>{"Old.obj", "Old.rsr"}));
    EXPECT_TRUE(std::filesystem::exists(c.host("Poser4/Runtime/Geometries/Spare/Old.png")));
    EXPECT_EQ(pane.lblTotals->text().toStdString(), "2 files, " + N(1555) + " bytes unused");
    EXPECT_EQ(desktop.msgBoxes.size(), 2u);

    // Failures are told once, naming every file left; the rows stay.
    shell.trashError = err::kPermissionDenied;
    Select({0, 1});
    desktop.msgAnswers = {answer::kYes};
    pane.cmdRecycle->click();
    ASSERT_EQ(desktop.msgBoxes.size(), 4u);
    EXPECT_EQ(desktop.msgBoxes[2].prompt,
              "Are you sure you want to move the 2 selected files to the Recycle Bin?");
    EXPECT_EQ(desktop.msgBoxes[3].prompt,
              "2 files could not be moved to the Recycle Bin:\r\n"
              "C:\\Poser4\\Runtime\\Textures\\Old\\chrome.jpg: Permission denied\r\n"
              "C:\\Poser4\\Runtime\\Textures\\Spare\\big.jpg: Permission denied");
    EXPECT_EQ(pane.grdUnused->model()->rowCount(), 2);

    pane.Clear();
    EXPECT_EQ(pane.grdUnused->model()->rowCount(), 0);
    EXPECT_EQ(pane.lblTotals->text(), "Listed when a check has run to its end.");
}

TEST_F(UnusedContentPaneTest, PermanentDeleteWithoutAskingAndCsvExportAndTheUnreadableNote) {
    c.createFile("Poser4/Runtime/Libraries/Pose/Sample/Broken.pzz", "not gzip");
    app->settings.MoveFile = false;
    app->settings.ConfirmDelete = false;
    ShowChecked();
    EXPECT_FALSE(pane.lblUnreadable->isHidden());
    EXPECT_EQ(pane.lblUnreadable->text().left(33), "1 library file or folder could no");
    EXPECT_EQ(pane.cmdRecycle->text(), "&Delete Permanently");

    Select({2});
    pane.cmdRecycle->click();
    EXPECT_TRUE(desktop.msgBoxes.empty() && shell.trashed.empty());
    EXPECT_FALSE(std::filesystem::exists(c.host("Poser4/Runtime/Textures/Spare/big.jpg")));
    EXPECT_EQ(pane.grdUnused->model()->rowCount(), 2);

    std::string asked;
    pane.chooseSaveFile = [&](const std::string& title, const std::string& filter) {
        asked = title + " " + filter;
        return c.host("unused");
    };
    pane.cmdExportCsv->click();
    EXPECT_EQ(asked, "Export Unused Files As CSV... CSV File (*.csv)|*.csv");
    EXPECT_EQ(c.readBytes("unused.csv"), "file,size\r\n" + runtime +
                                             "/Geometries/Spare/Old.obj,10\r\n" + runtime +
                                             "/Textures/Old/chrome.jpg,321\r\n");
}

}  // namespace
}  // namespace bw::test
