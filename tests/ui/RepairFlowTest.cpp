#include <gtest/gtest.h>

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QTreeWidget>
#include <deque>
#include <filesystem>
#include <functional>
#include <sstream>

#include "core/Classification.h"
#include "repair/RepairJournal.h"
#include "ui/CheckFilterProxy.h"
#include "ui/CheckRowModel.h"
#include "ui/CheckWindowFixture.h"
#include "ui/frmChooseCandidates.h"
#include "ui/frmMsgBox.h"
#include "ui/frmRepairPreview.h"

namespace bw::test {
namespace {

using check::RefStatus;

// Acts on the modal windows in the order they come, one step each; the progress window is left to
// run. What each showed is kept as "objectName: text".
class Modals {
  public:
    using Step = std::function<void(QWidget&)>;
    explicit Modals(std::deque<Step> steps) : steps_(std::move(steps)) {
        QObject::connect(&timer_, &QTimer::timeout, [this] { Tick(); });
        timer_.start(10);
    }
    bool done() const { return steps_.empty(); }
    std::vector<std::string> seen;

  private:
    void Tick() {
        QWidget* w = QApplication::activeModalWidget();
        if (!w || steps_.empty() || w->objectName() == "prgRepair" || w == last_) return;
        last_ = w;
        std::string text;
        if (auto* box = qobject_cast<frmMsgBox*>(w)) text = box->lblMsgText->text().toStdString();
        if (auto* p = qobject_cast<frmRepairPreview*>(w)) text = p->lblCounts->text().toStdString();
        seen.push_back(w->objectName().toStdString() + ": " + text);
        Step step = std::move(steps_.front());
        steps_.pop_front();
        step(*w);
    }
    std::deque<Step> steps_;
    QPointer<QWidget> last_;
    QTimer timer_;
};

Modals::Step Press(const char* button) {
    return [button](QWidget& w) {
        auto* b = w.findChild<QPushButton*>(button);
        EXPECT_TRUE(b->isVisible()) << button;  // a style the box cannot show hides its buttons
        b->click();
    };
}

class RepairFlowTest : public CheckWindowFixture {
  protected:
    std::string Line(const std::string& relative, int number) {
        std::istringstream in(c.readBytes(relative));
        std::string line;
        for (int i = 0; i < number; ++i) std::getline(in, line);
        return line;
    }
    static constexpr const char* kFigure = "Poser4/Runtime/Libraries/character/Sample/Figure.cr2";
    static constexpr const char* kCrate = "Poser4/Runtime/Libraries/Props/Sample/Crate.pp2";
};

TEST_F(RepairFlowTest, RepairsTheMovedRowsAndUndoPutsTheExactBytesBack) {
    Start();
    const std::string figure = c.readBytes(kFigure), crate = c.readBytes(kCrate);
    frmCheck* f = OpenCheck();
    ASSERT_TRUE(f && Finish(f));
    // The figure's references, listed in the main tree, are listed anew after the repair.
    const auto figureRow = [this] {
        return Expand({"C:", "Poser4", "Runtime", "Libraries", "character", "Sample", "Figure.cr2"});
    };
    const char* stale = ":Runtime:Textures:Sample:skin.jpg";
    Click(Find(figureRow(), kScanForFileText));
    ASSERT_TRUE(Find(figureRow(), stale).isValid());
    EXPECT_FALSE(f->cmdRepair->isEnabled());  // nothing selected yet
    Show(f, "Missing");
    f->cmdSelectRepairable->click();
    EXPECT_EQ(f->cboStatus->currentText(), "Problems");  // the moved rows are listed again
    EXPECT_EQ(f->grdRows->selectionModel()->selectedRows().size(), 2);
    ASSERT_TRUE(f->cmdRepair->isEnabled());

    std::string shown;  // the second file and its one line as the preview lists them
    Modals modals({[&](QWidget& w) {
                       auto& p = static_cast<frmRepairPreview&>(w);
                       ASSERT_EQ(p.treChanges->topLevelItemCount(), 2);
                       QTreeWidgetItem* file = p.treChanges->topLevelItem(1);
                       shown = (file->text(0) + "\n" + file->child(0)->text(0) + "|" +
                                file->child(0)->text(1) + "|" + file->child(0)->text(2))
                                   .toStdString();
                       EXPECT_FALSE(p.treRefused->isVisibleTo(&p));
                       p.cmdApply->click();
                   },
                   Press("cmdOK")});
    f->cmdRepair->click();
    EXPECT_EQ(shown,
              "C:\\Poser4\\Runtime\\Libraries\\character\\Sample\\Figure.cr2\n"
              "528|textureMap :Runtime:Textures:Sample:skin.jpg|"
              "textureMap \":Runtime:Textures:Other:skin.jpg\"");
    ASSERT_TRUE(modals.done());
    EXPECT_EQ(modals.seen[0], "frmRepairPreview: 2 library files, 2 lines will change.");
    EXPECT_EQ(modals.seen[1].rfind("frmMsgBox: 2 library files repaired, 2 lines changed.", 0), 0u)
        << modals.seen[1];
    EXPECT_TRUE(f->running());  // checked again
    ASSERT_TRUE(Finish(f));
    EXPECT_EQ(f->rows->count(RefStatus::Moved), 0);
    EXPECT_EQ(f->rows->count(RefStatus::Missing), 1);
    EXPECT_EQ(Line(kFigure, 528), "\t\ttextureMap \":Runtime:Textures:Other:skin.jpg\"\r");
    EXPECT_EQ(Texts(figureRow()), std::vector<std::string>{kScanForFileText});

    Modals undo({Press("cmdYes"), Press("cmdOK")});
    f->cmdUndoRepair->click();
    ASSERT_TRUE(undo.done());
    EXPECT_EQ(undo.seen[0].rfind("frmMsgBox: Put back the 2 library files the last repair", 0), 0u)
        << undo.seen[0];
    EXPECT_EQ(undo.seen[1], "frmMsgBox: 2 library files put back.");
    EXPECT_TRUE(c.readBytes(kFigure) == figure && c.readBytes(kCrate) == crate);
    ASSERT_TRUE(Finish(f));
    EXPECT_EQ(f->rows->count(RefStatus::Moved), 2);

    Modals again({Press("cmdOK")});
    f->cmdUndoRepair->click();
    EXPECT_EQ(again.seen, std::vector<std::string>{"frmMsgBox: There is no repair to undo."});
}

TEST_F(RepairFlowTest, CancelInThePreviewWritesNothing) {
    Start();
    const std::string figure = c.readBytes(kFigure), crate = c.readBytes(kCrate);
    frmCheck* f = OpenCheck();
    ASSERT_TRUE(f && Finish(f));
    f->cmdSelectRepairable->click();
    Modals modals({Press("cmdCancel")});
    f->cmdRepair->click();
    EXPECT_TRUE(modals.done() && modals.seen.size() == 1);
    EXPECT_FALSE(f->running());
    EXPECT_TRUE(c.readBytes(kFigure) == figure && c.readBytes(kCrate) == crate);
    EXPECT_TRUE(repair::JournalFolders(c.host("journal")).empty());
}

TEST_F(RepairFlowTest, AnAmbiguousReferenceGetsTheFileChosenAndOnlyWhenOneIsChosen) {
    std::filesystem::create_directories(c.host("Poser4/Runtime/Textures/Third"));
    std::filesystem::copy_file(c.host("Poser4/Runtime/Textures/Other/skin.jpg"),
                               c.host("Poser4/Runtime/Textures/Third/skin.jpg"));
    Start();
    const std::string figure = c.readBytes(kFigure);
    frmCheck* f = OpenCheck();
    ASSERT_TRUE(f && Finish(f));
    Show(f, "Ambiguous");
    ASSERT_EQ(f->shown->rowCount(), 1);
    f->grdRows->selectRow(0);
    ASSERT_TRUE(f->cmdRepair->isEnabled());

    // Left as it is, nothing is asked further and nothing written.
    Modals leave({Press("cmdOK")});
    f->cmdRepair->click();
    EXPECT_EQ(leave.seen.size(), 1u);
    EXPECT_EQ(c.readBytes(kFigure), figure);

    std::vector<std::string> offered;
    Modals pick({[&](QWidget& w) {
                     auto& box = static_cast<frmChooseCandidates&>(w);
                     QComboBox* choice = box.cboCandidate.at(0);
                     for (int i = 0; i < choice->count(); ++i)
                         offered.push_back(choice->itemText(i).toStdString());
                     choice->setCurrentIndex(choice->findText("Third", Qt::MatchContains));
                     box.cmdOK->click();
                 },
                 Press("cmdApply"), Press("cmdOK")});
    f->cmdRepair->click();
    ASSERT_TRUE(pick.done());
    EXPECT_EQ(offered, (std::vector<std::string>{
                           "Leave as it is", "C:\\Poser4\\Runtime\\Textures\\Other\\skin.jpg",
                           "C:\\Poser4\\Runtime\\Textures\\Third\\skin.jpg"}));
    EXPECT_EQ(Line(kFigure, 528), "\t\ttextureMap \":Runtime:Textures:Third:skin.jpg\"\r");
    ASSERT_TRUE(Finish(f));

    // The main window's Edit menu undoes it too, and the open report is checked again.
    Modals undo({Press("cmdYes"), Press("cmdOK")});
    Cmd("mnuUndoRepair")->trigger();
    ASSERT_TRUE(undo.done());
    EXPECT_EQ(c.readBytes(kFigure), figure);
    EXPECT_TRUE(f->running());
    ASSERT_TRUE(Finish(f));
    EXPECT_EQ(f->rows->count(RefStatus::Ambiguous), 1);
}

}  // namespace
}  // namespace bw::test
