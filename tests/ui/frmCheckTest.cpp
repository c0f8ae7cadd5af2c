#include <gtest/gtest.h>

#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QTimer>

#include "check/ReportView.h"
#include "ui/CheckFilterProxy.h"
#include "ui/CheckRowModel.h"
#include "ui/CheckWindowFixture.h"
#include "ui/UnusedContentPane.h"

namespace bw::test {
namespace {

using check::ReportColumn;

class frmCheckTest : public CheckWindowFixture {
  protected:
    // The rows listed, each as its cells joined by "|".
    static std::vector<std::string> Listed(frmCheck* f) {
        std::vector<std::string> out;
        for (int r = 0; r < f->shown->rowCount(); ++r) {
            QStringList cells;
            for (int col = 0; col < check::kReportColumnCount; ++col)
                cells << f->shown->index(r, col).data().toString();
            out.push_back(cells.join('|').toStdString());
        }
        return out;
    }
    static std::string Column(frmCheck* f, ReportColumn column) {
        std::string out;
        for (int r = 0; r < f->shown->rowCount(); ++r)
            out += f->shown->index(r, int(column)).data().toString().toStdString() + " ";
        return out;
    }
};

const std::vector<std::string> kSampleProblems = {
    "Moved|Libraries\\Props\\Sample\\Crate.pp2|10|objFileGeom|"
    ":Runtime:Geometries:Props:Crate.obj|Geometries\\Other\\Crate.obj",
    "Moved|Libraries\\character\\Sample\\Figure.cr2|528|textureMap|"
    ":Runtime:Textures:Sample:skin.jpg|Textures\\Other\\skin.jpg",
    "Missing|Libraries\\character\\Sample\\Robot.cr2|329|bumpMap|"
    ":Runtime:Textures:Robot:rivets.tif|"};

TEST_F(frmCheckTest, SampleLibraryListsItsStaleAndMissingReferencesToFilterAndSort) {
    Start();
    frmCheck* f = OpenCheck();
    ASSERT_TRUE(f);
    EXPECT_TRUE(f->isVisible());
    EXPECT_EQ(f->windowTitle().toStdString(), "Check Library - C:\\Poser4\\Runtime");
    ASSERT_TRUE(Finish(f));
    EXPECT_EQ(Listed(f), kSampleProblems);
    const std::string counts = f->lblCounts->text().toStdString();
    for (const char* c : {"Moved: 2", "Ambiguous: 0", "Missing: 1", "Unreadable: 0"})
        EXPECT_NE(counts.find(c), std::string::npos) << counts;
    EXPECT_NE(counts.find("3 of " + std::to_string(f->rows->rowCount()) + " listed"),
              std::string::npos);
    EXPECT_EQ(f->lblStatus->text().left(17), "11 library files,");
    EXPECT_TRUE(f->cmdAgain->isVisible() && !f->cmdCancel->isVisible() &&
                !f->prgCheck->isVisible());
    // The second page lists what no library file uses, once the check has read every file.
    EXPECT_EQ(f->unused->grdUnused->model()->index(0, 0).data().toString().toStdString(),
              "C:\\Poser4\\Runtime\\Textures\\Old\\chrome.jpg");

    // The filter and the sort reach the rows listed (their rules are the report view's own).
    Show(f, "Problems", "SKIN.jpg");
    EXPECT_EQ(Column(f, ReportColumn::Line), "528 ");
    Show(f, "Problems", "");
    f->grdRows->sortByColumn(int(ReportColumn::Line), Qt::DescendingOrder);
    EXPECT_EQ(Column(f, ReportColumn::Line), "528 329 10 ");
}

TEST_F(frmCheckTest, DoubleClickShowsTheLibraryFileInTheMainTree) {
    Start();
    frmCheck* f = OpenCheck();
    ASSERT_TRUE(f && Finish(f));
    QTableView* grid = f->grdRows;
    const QModelIndex crate = f->shown->index(0, int(ReportColumn::Reference));
    ASSERT_EQ(Listed(f).front(), kSampleProblems.front());
    const QPointF at(grid->visualRect(crate).center()), global(grid->viewport()->mapToGlobal(at));
    for (auto type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                      QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease}) {
        QMouseEvent e(type, at, global, Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, {});
        QApplication::sendEvent(grid->viewport(), &e);
    }
    Node* shownNode = Highlighted();
    ASSERT_TRUE(shownNode);
    EXPECT_EQ(shownNode->FullPath(), "C:\\Poser4\\Runtime\\Libraries\\Props\\Sample\\Crate.pp2");
    EXPECT_EQ(app->CurrentNode.get(), shownNode);
    EXPECT_TRUE(f->isVisible());  // the report stays open for the next row
}

TEST_F(frmCheckTest, ExportsTheRowsListedAsCsvAndAsAnEscapedHtmlPage) {
    c.createFile("Poser4/Runtime/Libraries/Props/Sample/Odd.pp2",
                 "{\n\ttextureMap :Runtime:Textures:R&D <old>.jpg\n}\n");
    Start();
    frmCheck* f = OpenCheck();
    ASSERT_TRUE(f && Finish(f));
    std::string asked;
    f->chooseSaveFile = [&](const std::string& title, const std::string& filter) {
        asked = title + " " + filter;
        return c.host(filter.find("csv") != std::string::npos ? "report" : "page.htm");
    };

    Show(f, "Missing", "");
    f->cmdExportCsv->click();
    EXPECT_EQ(asked, "Export Report As CSV... CSV File (*.csv)|*.csv");
    // A name typed without an extension gets the format's own.
    const std::string runtime = c.host("Poser4/Runtime");
    EXPECT_EQ(c.readBytes("report.csv"),
              "file,line,keyword,reference,status,candidates,reason\r\n" + runtime +
                  "/Libraries/Props/Sample/Odd.pp2,2,textureMap,:Runtime:Textures:R&D <old>.jpg,"
                  "missing,,\r\n" +
                  runtime +
                  "/Libraries/character/Sample/Robot.cr2,329,bumpMap,"
                  ":Runtime:Textures:Robot:rivets.tif,missing,,\r\n");

    Show(f, "Problems", "odd");
    f->cmdExportHtml->click();
    EXPECT_EQ(asked, "Export Report As HTML... HTML Page (*.html)|*.html");
    // Only the row listed, escaped as the report view escapes every text.
    const std::string html = c.readBytes("page.htm");
    EXPECT_NE(html.find("<td>:Runtime:Textures:R&amp;D &lt;old&gt;.jpg</td>"), std::string::npos);
    EXPECT_EQ(html.find("Robot.cr2"), std::string::npos);
    EXPECT_NE(f->lblStatus->text().indexOf("page.htm"), -1);
}

TEST_F(frmCheckTest, AFolderThatCannotBeCheckedIsSaidSo) {
    Start();
    app->settings.Runtime = "C:\\Nowhere\\Runtime";
    frmCheck* f = OpenCheck();
    ASSERT_TRUE(f);
    EXPECT_FALSE(f->running());
    EXPECT_EQ(
        f->lblStatus->text().toStdString().rfind("C:\\Nowhere\\Runtime cannot be checked: ", 0), 0u)
        << f->lblStatus->text().toStdString();
    EXPECT_EQ(f->rows->rowCount(), 0);
    EXPECT_TRUE(f->cmdAgain->isVisible());
}

TEST_F(frmCheckTest, CancelStopsALargeCheckQuicklyAndTheWindowStaysInUse) {
    constexpr int kFiles = 6000, kReferences = 20;
    std::string body = "{\n";
    for (int i = 0; i < kReferences; ++i)
        body += "\ttextureMap :Runtime:Textures:t" + std::to_string(i) + ".jpg\n";
    body += "}\n";
    for (int i = 0; i < kFiles; ++i)
        c.createFile("Big/Runtime/Libraries/Gen" + std::to_string(i / 500) + "/f" +
                         std::to_string(i) + ".pz2",
                     body);
    Start();
    app->settings.Runtime = "C:\\Big\\Runtime";
    frmCheck* f = OpenCheck();
    ASSERT_TRUE(f && f->running());

    // The window keeps answering while rows arrive.
    QElapsedTimer clock, since;
    clock.start();
    since.start();
    qint64 longest = 0;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout,
                     [&] { longest = std::max(longest, since.restart()); });
    tick.start(5);
    while (f->running() && f->rows->rowCount() < 10 * kReferences && clock.elapsed() < 30000)
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    tick.stop();
    ASSERT_TRUE(f->running()) << "the check ended before it could be cancelled";
    EXPECT_LT(longest, 250);  // 50 ms on an idle machine; tests share a loaded one

    clock.restart();
    f->cmdCancel->click();
    EXPECT_FALSE(f->cmdCancel->isEnabled());
    ASSERT_TRUE(Finish(f));
    EXPECT_LT(clock.elapsed(), 500);  // within 100 ms on an idle machine
    EXPECT_EQ(f->lblStatus->text(), "Cancelled: the references found so far are listed.");
    const int found = f->rows->rowCount();
    EXPECT_GT(found, 0);
    EXPECT_LT(found, kFiles * kReferences);
    EXPECT_EQ(found % kReferences, 0);  // whole files only

    // Everything found so far can be filtered, and the check run again.
    Show(f, "All references", "");
    EXPECT_EQ(f->shown->rowCount(), found);
    Show(f, "All references", "t7.jpg");
    EXPECT_EQ(f->shown->rowCount(), found / kReferences);
    EXPECT_TRUE(f->cmdAgain->isVisible() && f->cmdAgain->isEnabled() &&
                f->cmdExportCsv->isEnabled());
    f->cmdAgain->click();
    EXPECT_TRUE(f->running());
    f->reject();  // closing stops it too
    EXPECT_TRUE(Finish(f));
    EXPECT_FALSE(f->isVisible());
}

}  // namespace
}  // namespace bw::test
