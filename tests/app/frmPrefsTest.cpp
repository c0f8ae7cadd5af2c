#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLineEdit>

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
    QAbstractButton* Button(const char* name) { return dialog->findChild<QAbstractButton*>(name); }
    std::unique_ptr<frmPrefs> dialog;
};

TEST_F(frmPrefsTest, ShowsTheSettingsWithTheirCaptions) {
    QString shown = dialog->windowTitle() + "|" +
                    dialog->findChild<QLineEdit*>("txtPoserFolder")->text() + "\n";
    for (const char* name :
         {"lblApplicationSettings", "lblPoserLocation", "cmdPoserFolder", "lblFolderOptions",
          "chkStartinLastFolder", "chkShowRelPathName", "chkProtectSystemFilesFolders",
          "chkConfirmDelete", "chkBackUpFigure", "lblWhenDeleting", "optMoveToRecycle", "optDelete",
          "cmdSave", "cmdCancel"}) {
        QWidget* w = dialog->findChild<QWidget*>(name);
        ASSERT_TRUE(w) << name;
        auto* box = qobject_cast<QAbstractButton*>(w);
        shown += w->property("text").toString() + "|" + w->toolTip() +
                 (box && box->isCheckable() ? (box->isChecked() ? "|1" : "|0") : "") + "\n";
    }
    EXPECT_EQ(shown,
              "Preferences|C:\\Poser4\\Runtime\nApplication Preferences|\n"
              "Location of Poser4\\Runtime folder:|\n...|\nFolder/ File Options:|\n"
              "Start in last folder opened?||0\nShow path names relative to \\Runtime folder?||0\n"
              "Protect system files and folders?|Click this option to protect system files and "
              "folders from accidental changes.|1\n"
              "Ask for confirmation before deleting files?||0\n"
              "Create a back up of figure file before changing?|Check this option to create a "
              "backup figure file before making any changes (such as fixing a 'discrepancy').|1\n"
              "When deleting files or folders:|\nMove to Recycle Bin||1\nDelete immediately||0\n"
              "&Save and Exit|Save the settings (and exit this screen).\n"
              "E&xit|Exit this screen (without saving changes).\n");
}

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
    std::string shown;
    for (const auto& b : desktop.msgBoxes)
        shown += b.title + "|" + std::to_string(b.style) + "|" + b.prompt + "\n";
    const std::string warning =
        "Warning|68|Note: You have chosen to turn protection OFF for the system files and "
        "folders. These are very senstive- please proceed with caution. \rAre you sure you want "
        "to do this?\n";
    const std::string save =
        "Save changes?|3|You have changed the data. Do you want to save these changes?\n";
    EXPECT_EQ(shown,
              warning + warning + save + save + "Notice|0|Your preferences have been saved.\n");
    EXPECT_EQ(Ini("Folder", "ProtectSystemFilesFolders"), "False");
}

TEST_F(frmPrefsTest, UncountedChangesCloseWithoutAskingButDeletionChoiceSticks) {
    Button("chkConfirmDelete")->click();
    Button("optDelete")->click();
    Button("cmdCancel")->click();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_TRUE(desktop.msgBoxes.empty());
    EXPECT_FALSE(app->settings.MoveFile || app->settings.ConfirmDelete);  // the latter unsaved
}

}  // namespace
}  // namespace bw::test
