#include <gtest/gtest.h>

#include <QLabel>
#include <QSplitter>
#include <QSplitterHandle>

#include "support/WindowFixture.h"
#include "ui/PreviewPane.h"

namespace bw::test {
namespace {

class frmMainPreview : public WindowFixture {
  protected:
    PreviewPane* pane() { return window->picPreview(); }
    // The framed place the pane fills, as the splitter lays it out.
    QWidget* Box() { return window->findChild<QWidget*>("fraPreview"); }
    QString Info() { return pane()->findChild<QLabel*>("lblPreviewInfo")->text(); }
    bool HasPicture() {
        return !pane()->findChild<QLabel*>("lblPreviewPicture")->pixmap().isNull();
    }
    // Waits until the pane's text holds `line`; its text when that never happens.
    ::testing::AssertionResult Shows(const QString& line) {
        if (WaitFor([&] { return Info().split('\n').contains(line); }))
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << Info().toStdString();
    }
    // The tree's rectangle in the window's central area.
    QRect TreeRect() {
        QTreeView* tree = window->treMain();
        return {tree->mapTo(window->centralWidget(), QPoint(0, 0)), tree->size()};
    }
    // The rectangle the tree has to itself when there is no pane beside it.
    QRect TreePlace() {
        const QSize area = window->centralWidget()->size();
        return {8, 4, area.width() - 16, area.height() - 12};
    }
    // Closes the window, saving as at exit when `save`.
    void Stop(bool save = true) {
        if (save) window->close();
        window->Detach();
        app.reset();
        window.reset();
    }
};

TEST_F(frmMainPreview, FollowsTheSelectionByMouseKeyboardAndHistory) {
    Start();
    ASSERT_TRUE(pane() && pane()->isVisible());
    const QModelIndex shared = Expand({"C:", "Poser4", "Runtime", "Textures", "Shared"});
    const QModelIndex sample = Expand({"C:", "Poser4", "Runtime", "Libraries", "character"});
    struct Step {
        std::function<void()> act;
        const char* line;  // a line the pane then shows
        bool picture;
    };
    const Step steps[] = {
        {[&] { Click(Find(shared, "chrome.jpg")); }, "chrome.jpg", true},
        {[&] { Key(Qt::Key_Down); }, "Eyes.jpg", true},
        {[&] { Click(sample); }, "1 sub-folder", false},
        {[&] { Key(Qt::Key_Down); }, "Sample", false},
        {[&] { window->treMain()->expand(window->treMain()->currentIndex()); }, "Sample", false},
        {[&] { Key(Qt::Key_Down); }, "Figure library file", true},  // its .png beside it
        {[&] { Cmd("Back")->trigger(); }, "Sample", false},
    };
    for (size_t i = 0; i < std::size(steps); ++i) {
        SCOPED_TRACE(i);
        steps[i].act();
        ASSERT_TRUE(Shows(steps[i].line));
        EXPECT_EQ(HasPicture(), steps[i].picture);
    }
}

TEST_F(frmMainPreview, F3HidesThePaneGivingTheTreeItsPlaceAndTheChoiceLasts) {
    Start();
    QAction* toggle = Cmd("mnuShowPreview");
    ASSERT_TRUE(toggle && toggle->isChecked());
    EXPECT_EQ(toggle->shortcut(), QKeySequence(Qt::Key_F3));
    EXPECT_EQ(Box()->width(), 260);
    EXPECT_EQ(TreeRect().topLeft(), TreePlace().topLeft());
    EXPECT_EQ(TreeRect().height(), TreePlace().height());

    toggle->trigger();
    EXPECT_FALSE(toggle->isChecked() || pane()->isVisible());
    EXPECT_EQ(TreeRect(), TreePlace());
    window->resize(1000, 500);
    EXPECT_EQ(TreeRect(), TreePlace());
    EXPECT_EQ(Ini("Preview", "Visible") + " " + Ini("Preview", "Width"), "False 260");

    Stop();  // and the program starts again on the same settings
    Start();
    EXPECT_FALSE(Cmd("mnuShowPreview")->isChecked() || pane()->isVisible());
    EXPECT_EQ(TreeRect(), TreePlace());
    Cmd("mnuShowPreview")->trigger();
    EXPECT_TRUE(pane()->isVisible());
    EXPECT_EQ(Box()->width(), 260);
    EXPECT_EQ(Ini("Preview", "Visible"), "True");
}

// However wide the pane is wanted, by the settings file or by dragging the splitter, the tree
// keeps at least half of its place, and the window's minimum size stays.
TEST_F(frmMainPreview, TheTreeKeepsAtLeastHalfTheWidth) {
    Write("Preview", "Width", "5000");  // too wide: half the place, less the splitter's handle
    Start();
    const int grip = window->findChild<QSplitter*>("splPreview")->handleWidth();
    EXPECT_EQ(Box()->width(), (TreePlace().width() - 2 * grip) / 2);
    window->resize(100, 100);
    EXPECT_EQ(window->size(), QSize(752, 290));
    EXPECT_GE(TreeRect().width(), TreePlace().width() / 2);
    Stop(false);

    Write("Preview", "Width", "300");
    Start();
    QSplitterHandle* handle = window->findChild<QSplitter*>("splPreview")->handle(1);
    auto drag = [&](int dx) {
        const QPointF at(handle->rect().center());
        test::Drag(handle, at, at + QPointF(dx, 0));
    };
    drag(-600);
    EXPECT_GE(TreeRect().width(), TreePlace().width() / 2);
    const int widest = Box()->width();
    EXPECT_GT(widest, 300);
    drag(100);
    EXPECT_EQ(Box()->width(), widest - 100);
    window->resize(1200, 500);  // the pane keeps the width it was given
    EXPECT_EQ(Box()->width(), widest - 100);
    window->close();
    EXPECT_EQ(Ini("Preview", "Width"), std::to_string(widest - 100));
}

}  // namespace
}  // namespace bw::test
