#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLineEdit>
#include <string>

#include "app/frmPrefs.h"
#include "support/AppFixture.h"

namespace bw::test {
namespace {

class frmPrefsTest : public AppFixture {
  protected:
    frmPrefsTest() {
        app->settings.Runtime = "C:\\Poser4\\Runtime";
        app->settings.ConfirmDelete = false;
        dialog = std::make_unique<frmPrefs>(*app, nullptr);
        dialog->show();
    }
    template <class T = QAbstractButton>
    T* Get(const char* name) {
        return dialog->findChild<T*>(name);
    }
    std::unique_ptr<frmPrefs> dialog;
};

TEST_F(frmPrefsTest, ShowsTheSettingsWithTheirCaptions) {
    EXPECT_EQ(dialog->windowTitle(), "Preferences");
    const std::tuple<const char*, const char*, const char*> controls[] = {
        // name, caption, tooltip
        {"lblApplicationSettings", "Application Preferences", ""},
        {"lblPoserLocation", "Location of Poser4\\Runtime folder:", ""},
        {"cmdPoserFolder", "...", ""},
        {"lblFolderOptions", "Folder/ File Options:", ""},
        {"chkStartinLastFolder", "Start in last folder opened?", ""},
        {"chkShowRelPathName", "Show path names relative to \\Runtime folder?", ""},
        {"chkProtectSystemFilesFolders", "Protect system files and folders?",
         "Click this option to protect system files and folders from accidental changes."},
        {"chkConfirmDelete", "Ask for confirmation before deleting files?", ""},
        {"chkBackUpFigure", "Create a back up of figure file before changing?",
         "Check this option to create a backup figure file before making any changes (such as "
         "fixing a 'discrepancy')."},
        {"lblWhenDeleting", "When deleting files or folders:", ""},
        {"optMoveToRecycle", "Move to Recycle Bin", ""},
        {"optDelete", "Delete immediately", ""},
        {"cmdSave", "&Save and Exit", "Save the settings (and exit this screen)."},
        {"cmdCancel", "E&xit", "Exit this screen (without saving changes)."},
    };
    for (const auto& [name, caption, tooltip] : controls) {
        QWidget* w = Get<QWidget>(name);
        ASSERT_TRUE(w);
        EXPECT_EQ(w->property("text").toString().toStdString(), caption) << name;
        EXPECT_EQ(w->toolTip().toStdString(), tooltip) << name;
    }
    EXPECT_EQ(Get<QLineEdit>("txtPoserFolder")->text(), "C:\\Poser4\\Runtime");
    std::string checked;
    for (const char* box : {"chkProtectSystemFilesFolders", "chkConfirmDelete", "optMoveToRecycle"})
        checked += Get<>(box)->isChecked() ? '1' : '0';
    EXPECT_EQ(checked, "101");
}

TEST_F(frmPrefsTest, ProtectionWarningAnsweredNoKeepsTheBoxAndAsksOnExit) {
    desktop.msgAnswers = {answer::kNo, answer::kCancel, answer::kNo};
    Get<>("chkProtectSystemFilesFolders")->click();
    EXPECT_TRUE(Get<>("chkProtectSystemFilesFolders")->isChecked());
    Get<>("cmdCancel")->click();  // Cancel: the dialog stays
    EXPECT_TRUE(dialog->isVisible());
    Get<>("cmdCancel")->click();  // No: closes without saving
    EXPECT_FALSE(dialog->isVisible());
    ASSERT_EQ(desktop.msgBoxes.size(), 3u);
    EXPECT_EQ(desktop.msgBoxes[0].title + "|" + desktop.msgBoxes[1].title, "Warning|Save changes?");
    EXPECT_FALSE(prefix.exists("Brindlewood.ini"));  // nothing saved
}

TEST_F(frmPrefsTest, UncountedChangesCloseWithoutAskingButDeletionChoiceSticks) {
    Get<>("chkConfirmDelete")->click();
    Get<>("optDelete")->click();
    Get<>("cmdCancel")->click();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_TRUE(desktop.msgBoxes.empty());
    EXPECT_FALSE(app->settings.MoveFile);
    EXPECT_FALSE(app->settings.ConfirmDelete);  // not saved
}

}  // namespace
}  // namespace bw::test
