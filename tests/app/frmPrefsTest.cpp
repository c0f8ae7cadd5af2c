#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <string>

#include "app/frmPrefs.h"
#include "platform/Profile.h"
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
    template <class T>
    T* Get(const char* name) {
        T* w = dialog->findChild<T*>(name);
        EXPECT_TRUE(w) << name;
        return w;
    }
    std::string Read(const char* key) {
        return GetPrivateProfileString("Folder", key, "(missing)", prefix.host("Brindlewood.ini"));
    }
    std::unique_ptr<frmPrefs> dialog;
};

TEST_F(frmPrefsTest, ShowsTheSettingsWithTheirCaptions) {
    EXPECT_EQ(dialog->windowTitle(), "Preferences");
    struct Control {
        const char* name;
        const char* caption;
        const char* tooltip;
    };
    const Control controls[] = {
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
         "fixing a "
         "'discrepancy')."},
        {"lblWhenDeleting", "When deleting files or folders:", ""},
        {"optMoveToRecycle", "Move to Recycle Bin", ""},
        {"optDelete", "Delete immediately", ""},
        {"cmdSave", "&Save and Exit", "Save the settings (and exit this screen)."},
        {"cmdCancel", "E&xit", "Exit this screen (without saving changes)."},
    };
    for (const Control& c : controls) {
        QWidget* w = Get<QWidget>(c.name);
        if (!w) continue;
        QString text = w->property("text").toString();
        EXPECT_EQ(text.toStdString(), c.caption) << c.name;
        EXPECT_EQ(w->toolTip().toStdString(), c.tooltip) << c.name;
    }
    EXPECT_EQ(Get<QLineEdit>("txtPoserFolder")->text(), "C:\\Poser4\\Runtime");
    EXPECT_TRUE(Get<QCheckBox>("chkProtectSystemFilesFolders")->isChecked());
    EXPECT_FALSE(Get<QCheckBox>("chkConfirmDelete")->isChecked());
    EXPECT_TRUE(Get<QRadioButton>("optMoveToRecycle")->isChecked());
    EXPECT_FALSE(Get<QRadioButton>("optDelete")->isChecked());
}

TEST_F(frmPrefsTest, ProtectionWarningAnsweredNoKeepsTheBoxAndAsksOnExit) {
    desktop.msgAnswers = {answer::kNo, answer::kCancel, answer::kNo};
    Get<QCheckBox>("chkProtectSystemFilesFolders")->click();
    EXPECT_TRUE(Get<QCheckBox>("chkProtectSystemFilesFolders")->isChecked());
    ASSERT_EQ(desktop.msgBoxes.size(), 1u);
    EXPECT_EQ(desktop.msgBoxes[0].title, "Warning");

    Get<QPushButton>("cmdCancel")->click();  // Cancel: the dialog stays
    EXPECT_TRUE(dialog->isVisible());
    ASSERT_EQ(desktop.msgBoxes.size(), 2u);
    EXPECT_EQ(desktop.msgBoxes[1].title, "Save changes?");

    Get<QPushButton>("cmdCancel")->click();  // No: closes without saving
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(Read("ProtectSystemFilesFolders"), "(missing)");
}

TEST_F(frmPrefsTest, UncountedChangesCloseWithoutAskingButDeletionChoiceSticks) {
    Get<QCheckBox>("chkConfirmDelete")->click();
    Get<QRadioButton>("optDelete")->click();
    EXPECT_FALSE(app->settings.MoveFile);
    Get<QPushButton>("cmdCancel")->click();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_TRUE(desktop.msgBoxes.empty());
    EXPECT_FALSE(app->settings.MoveFile);
    EXPECT_FALSE(app->settings.ConfirmDelete);  // not saved
}

}  // namespace
}  // namespace bw::test
