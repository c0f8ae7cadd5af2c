#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLineEdit>

#include "support/AppFixture.h"
#include "ui/frmPrefs.h"

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
    QAbstractButton* Button(const char* name) { return dialog->findChild<QAbstractButton*>(name); }
    std::unique_ptr<frmPrefs> dialog;
};

TEST_F(frmPrefsTest, TurningProtectionOffNeedsAYesAndExitAsksToSaveIt) {
    desktop.msgAnswers = {answer::kNo, answer::kYes, answer::kCancel, answer::kYes};
    QAbstractButton* protect = Button("chkProtectSystemFilesFolders");
    protect->click();  // No: stays on
    EXPECT_TRUE(protect->isChecked());
    protect->click();  // Yes: off
    EXPECT_FALSE(protect->isChecked());
    Button("cmdCancel")->click();  // Cancel: the dialog stays
    EXPECT_TRUE(dialog->isVisible());
    Button("cmdCancel")->click();  // Yes: saves and closes
    EXPECT_FALSE(dialog->isVisible());
    const std::string warning =
        "Warning|68|Note: You have chosen to turn protection OFF for the system files and "
        "folders. These are very senstive- please proceed with caution. \rAre you sure you want "
        "to do this?\n";
    const std::string save =
        "Save changes?|3|You have changed the data. Do you want to save these changes?\n";
    EXPECT_EQ(desktop.Shown(),
              warning + warning + save + save + "Notice|0|Your preferences have been saved.\n");
    EXPECT_EQ(Ini("Folder", "ProtectSystemFilesFolders"), "False");
}

TEST_F(frmPrefsTest, ShowsTheSettingsAndUncountedChangesCloseWithoutAsking) {
    QString shown = dialog->findChild<QLineEdit*>("txtPoserFolder")->text();
    for (const char* name :
         {"chkStartinLastFolder", "chkShowRelPathName", "chkProtectSystemFilesFolders",
          "chkConfirmDelete", "chkBackUpFigure", "optMoveToRecycle", "optDelete"})
        shown += Button(name)->isChecked() ? '1' : '0';
    EXPECT_EQ(shown, "C:\\Poser4\\Runtime0010110");

    Button("chkConfirmDelete")->click();  // neither change is counted
    Button("optDelete")->click();
    Button("cmdCancel")->click();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_TRUE(desktop.msgBoxes.empty());
    EXPECT_FALSE(app->settings.MoveFile || app->settings.ConfirmDelete);  // the latter unsaved
}

}  // namespace
}  // namespace bw::test
