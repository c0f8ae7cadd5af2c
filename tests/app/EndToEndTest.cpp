#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QTimer>
#include <QTreeView>
#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/AppState.h"
#include "app/Settings.h"
#include "app/frmMain.h"
#include "browser/Classification.h"
#include "platform/Profile.h"
#include "support/TestDir.h"

namespace bw::test {
namespace {

using Lines = std::vector<std::string>;
// The main window on a copy of the sample library, driven only by clicks on the tree.
class EndToEndTest : public ::testing::Test {
  protected:
    EndToEndTest() {
        // Any modal box is noted and dismissed, so an unexpected one fails instead of hanging.
        QObject::connect(&boxWatch, &QTimer::timeout, [this] {
            if (QWidget* box = QApplication::activeModalWidget()) {
                boxes.push_back(box->windowTitle().toStdString());
                box->close();
            }
        });
        boxWatch.start(20);
        prefix.createDir("dosdevices");
        std::filesystem::create_directory_symlink(c.path(), prefix.host("dosdevices/c:"));
        std::filesystem::copy(std::string(BRINDLEWOOD_EXAMPLES_DIR) + "/Poser4", c.host("Poser4"),
                              std::filesystem::copy_options::recursive);
        const std::string ini = prefix.host("Brindlewood.ini");
        WritePrivateProfileString("Colors", "BackColor", "15136253", ini);
        WritePrivateProfileString("Folder", "Runtime", "C:\\Poser4\\Runtime", ini);
        app = std::make_unique<AppState>(
            *window, std::make_unique<FileSystem>(DriveMap::FromPrefix(prefix.path())));
        LoadSettings(*app, app->fs->WindowsPath(ini));
        window->Load(*app);
    }
    ~EndToEndTest() override { window->Detach(); }

    QModelIndex Child(const QModelIndex& parent, const std::string& start) {
        const auto hits = model()->match(model()->index(0, 0, parent), Qt::DisplayRole,
                                         QString::fromStdString(start), 1, Qt::MatchStartsWith);
        return hits.isEmpty() ? QModelIndex() : hits.first();
    }
    // Expands as a click on each expand sign would.
    QModelIndex Expand(const Lines& texts) {
        QModelIndex at;
        for (const auto& t : texts) {
            if (!(at = Child(at, t)).isValid()) return {};
            window->treMain()->expand(at);
        }
        return at;
    }
    void Click(const QModelIndex& index) {
        QTreeView* view = window->treMain();
        view->scrollTo(index);  // opens the parents too, as the user would first
        const QPointF at(view->visualRect(index).center()), to(view->viewport()->mapToGlobal(at));
        QMouseEvent press(QEvent::MouseButtonPress, at, to, Qt::LeftButton, Qt::LeftButton, {});
        QMouseEvent release(QEvent::MouseButtonRelease, at, to, Qt::LeftButton, {}, {});
        QApplication::sendEvent(view->viewport(), &press);
        QApplication::sendEvent(view->viewport(), &release);
    }
    QAbstractItemModel* model() { return window->treMain()->model(); }
    Lines Texts(const QModelIndex& parent) {
        Lines out;
        for (int r = 0; r < model()->rowCount(parent); ++r)
            out.push_back(model()->index(r, 0, parent).data().toString().toStdString());
        return out;
    }
    TestDir prefix, c;
    std::unique_ptr<frmMain> window = std::make_unique<frmMain>();
    std::unique_ptr<AppState> app;
    QTimer boxWatch;
    Lines boxes;
};

TEST_F(EndToEndTest, StaleTextureIsRepairedAndSharedTextureIsTracedBack) {
    const std::string folder = "Poser4/Runtime/Libraries/character/Sample/";
    const std::string original = c.readBytes(folder + "Figure.cr2");
    const std::string stale = ":Runtime:Textures:Sample:skin.jpg";
    const QModelIndex figure =
        Expand({"C:", "Poser4", "Runtime", "Libraries", "character", "Sample", "Figure.cr2"});
    Click(Child(figure, kScanForFileText));
    const QModelIndex reference = Child(figure, stale);
    ASSERT_TRUE(reference.isValid()) << ::testing::PrintToString(Texts(figure));
    Click(Child(reference, kFindLocationText));
    const QModelIndex found = Child(reference, "Referenced file found in:");
    ASSERT_TRUE(found.isValid()) << ::testing::PrintToString(Texts(reference));
    EXPECT_EQ(Texts(found), Lines{"Found in: C:\\Poser4\\Runtime\\Textures\\Other\\skin.jpg"});
    const QModelIndex discrepancy = Child(Child(found, "Found in:"), "Discrepancy Found");
    ASSERT_TRUE(discrepancy.isValid());

    // Only the stale name changes, to the quoted new one; all else stays, CR LF ends included.
    Click(discrepancy);
    ASSERT_EQ(std::count(original.begin(), original.end(), '\r'),
              std::count(original.begin(), original.end(), '\n'));
    std::string expected = original;
    expected.replace(expected.find(stale), stale.size(), "\":Runtime:Textures:Other:skin.jpg\"");
    EXPECT_TRUE(c.readBytes(folder + "Figure.cr2") == expected) << "more than the name changed";
    EXPECT_TRUE(c.readBytes(folder + "Figure.bak") == original) << "backup is not the original";

    // The texture shared by three library files is traced back to each, and to the backup.
    const QModelIndex eyes = Expand({"C:", "Poser4", "Runtime", "Textures", "Shared", "Eyes.jpg"});
    Click(Child(eyes, kScanForFileInFileText));
    const QModelIndex users = Child(eyes, "This file is referenced by:");
    ASSERT_TRUE(users.isValid()) << ::testing::PrintToString(Texts(eyes));
    Lines got = Texts(users);
    std::sort(got.begin(), got.end());
    const std::string lib = "Found in: C:\\Poser4\\Runtime\\Libraries\\";
    EXPECT_EQ(got,
              (Lines{lib + "Pose\\Sample\\Skin Tan.pz2", lib + "character\\Sample\\Figure.bak",
                     lib + "character\\Sample\\Figure.cr2", lib + "character\\Sample\\Robot.cr2"}));
    EXPECT_FALSE(window->findChild<QWidget*>("fraScan")->isVisible());
    EXPECT_TRUE(window->treMain()->isEnabled());
    EXPECT_TRUE(boxes.empty()) << ::testing::PrintToString(boxes);
}

}  // namespace
}  // namespace bw::test
