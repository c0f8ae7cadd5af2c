#include "app/Desktop.h"
#include "app/ReportError.h"
#include "fileops/DeleteThisNode.h"
#include "fileops/FileopsFixture.h"

namespace bw::test {
namespace {

struct DeleteCase {
    const char* what;
    const char* files;  // under C:\Lib, separated by ";"
    const char* target;
    bool moveFile, confirm;
    int answer;
    const char* gone;  // in order of removal
    int error = 0;     // injected into the trash and the deletion
};

class DeleteFlows : public FileopsFixture, public ::testing::WithParamInterface<DeleteCase> {};

TEST_P(DeleteFlows, RemovesWhatIsConfirmedAndKeepsTheTreeTrue) {
    const DeleteCase& tc = GetParam();
    for (const auto& f : Split(tc.files, ';')) c.createFile("Lib/" + f, "x");
    app->settings.MoveFile = tc.moveFile;
    app->settings.ConfirmDelete = tc.confirm;
    shell.trashError = fs->deleteError = tc.error;
    Node* node = select(std::string("C:\\Lib\\") + tc.target);
    NodeHandle handle(node), parent(node->parent());
    desktop.msgAnswers = {tc.answer};

    DeleteThisNode(*app);

    const auto gone = Split(tc.gone, ';');
    for (const auto& f : Split(tc.files, ';'))
        EXPECT_EQ(c.exists("Lib/" + f), std::count(gone.begin(), gone.end(), f) == 0) << f;
    std::vector<std::string> trashed;
    for (const auto& g : gone) trashed.push_back(onC("Lib/" + g));
    EXPECT_EQ(shell.trashed, tc.moveFile && !tc.error ? trashed : shell.trashed);
    EXPECT_EQ(errorsShown(), (tc.confirm ? 1u : 0u) + (tc.error ? 1u : 0u));
    EXPECT_EQ(tc.confirm ? desktop.msgBoxes[0].style : 20, 20);
    EXPECT_EQ(handle.get() == nullptr, !gone.empty());
    EXPECT_EQ(app->CurrentNode.get(), gone.empty() ? handle.get() : parent.get());
}

INSTANTIATE_TEST_SUITE_P(
    Fileops, DeleteFlows,
    ::testing::Values(
        DeleteCase{"companions to trash", "dog.cr2;dog.rsr;dog.png", "dog.cr2", true, true,
                   answer::kYes, "dog.cr2;dog.rsr;dog.png"},
        DeleteCase{"only png permanently", "dog.cr2;dog.png;cat.rsr", "dog.cr2", false, true,
                   answer::kYes, "dog.cr2;dog.png"},
        DeleteCase{"upper case has none", "DOG.CR2;DOG.rsr;DOG.png", "DOG.CR2", true, false, 0,
                   "DOG.CR2"},
        DeleteCase{"image has none", "skin.jpg;skin.png", "skin.jpg", true, false, 0, "skin.jpg"},
        DeleteCase{"folder without asking", "Sample/Deep/a.obj", "Sample", false, false, 0,
                   "Sample/Deep/a.obj"},
        DeleteCase{"answered no", "dog.cr2;dog.png", "dog.cr2", true, true, answer::kNo, ""},
        DeleteCase{"trash refused", "dog.cr2;dog.png", "dog.cr2", true, false, 0, "",
                   err::kPermissionDenied},
        DeleteCase{"locked", "dog.cr2;dog.png", "dog.cr2", false, false, 0, "", err::kDeviceIO}),
    [](const auto& info) { return CaseName(info.param.what); });

TEST_F(FileopsFixture, DeleteAsksInTheUsersWordsAndReportsByPath) {
    c.createFile("Lib/dog.cr2");
    c.createFile("Lib/Sample/a.obj");
    select("C:\\Lib\\dog.cr2");
    desktop.msgAnswers = {answer::kNo};
    DeleteThisNode(*app);
    app->settings.MoveFile = false;
    select("C:\\Lib\\Sample");
    desktop.msgAnswers = {answer::kNo};
    DeleteThisNode(*app);
    app->shell = nullptr;  // no trash: the item stays, and says so
    app->settings.MoveFile = true;
    app->settings.ConfirmDelete = false;
    select("C:\\Lib\\dog.cr2");
    DeleteThisNode(*app);

    ASSERT_EQ(desktop.msgBoxes.size(), 2u);
    EXPECT_EQ(desktop.msgBoxes[0].title, "Deleting the 'dog.cr2' file...");
    EXPECT_EQ(desktop.msgBoxes[0].prompt,
              "Are you sure you want to move the 'dog.cr2' file to the Recycle Bin?");
    EXPECT_EQ(desktop.msgBoxes[1].title, "Deleting the 'Sample' folder...");
    EXPECT_EQ(desktop.msgBoxes[1].prompt,
              "Are you sure you want to PERMANENTLY delete the 'Sample' folder?");
    ASSERT_EQ(desktop.systemMessages.size(), 1u);
    EXPECT_NE(desktop.systemMessages[0].prompt.find("RemoveThisFile: C:\\Lib\\dog.cr2"),
              std::string::npos);
    EXPECT_TRUE(c.exists("Lib/dog.cr2"));
}

}  // namespace
}  // namespace bw::test
