#include "core/Desktop.h"
#include "fileops/DeleteThisNode.h"
#include "fileops/FileopsFixture.h"

namespace bw::test {
namespace {

// files: under C:\Lib, ";" between, the first (or its top folder) being deleted; gone: the names
// that go, in order; answer 0: not asked; error: of the trash and the deletion, -1 for no trash at
// all; asked: the question as "title|style|prompt"; vanished: the first file went from the disk
// after it was listed; users: library files the check's index knows to use it (-1: unknown),
// warned: the warning then shown, answered with warnAnswer.
struct DeleteCase {
    const char *what, *files, *gone;
    bool moveFile;
    int answer, error = 0;
    const char* asked = nullptr;
    bool vanished = false;
    int users = -1, warnAnswer = 0;
    const char* warned = nullptr;
};

const char* const kAskTrash =
    "Deleting the 'dog.cr2' file...|20|"
    "Are you sure you want to move the 'dog.cr2' file to the Recycle Bin?";
const DeleteCase kDeleteCases[] = {
    {"CompanionsToTrash", "dog.cr2;dog.rsr;dog.png", "dog.cr2;dog.rsr;dog.png", true, answer::kYes,
     0, kAskTrash},
    {"FolderPermanently", "Sample/Deep/a.obj;dog.cr2", "Sample", false, answer::kYes, 0,
     "Deleting the 'Sample' folder...|20|"
     "Are you sure you want to PERMANENTLY delete the 'Sample' folder?"},
    {"AnsweredNo", "dog.cr2;dog.png", "", true, answer::kNo, 0, kAskTrash},
    // A failed or refused removal keeps the node, and the thumbnails stay with their file.
    {"TrashRefused", "dog.cr2;dog.png", "", true, 0, err::kPathFileAccess},
    {"NoTrash", "dog.cr2;dog.png", "", true, 0, -1},
    {"Locked", "dog.cr2;dog.png", "", false, 0, err::kDeviceIO},
    // Names that differ only in case are other files: they neither go along nor keep the node.
    {"CaseTwinStaysTrash", "dog.cr2;DOG.CR2;DOG.RSR;dog.png", "dog.cr2;dog.png", true, 0},
    {"CaseTwinStaysPermanently", "dog.cr2;DOG.CR2;dog.rsr;DOG.PNG", "dog.cr2;dog.rsr", false, 0},
    {"VanishedFileTakesNothing", "dog.cr2;DOG.CR2;dog.rsr;DOG.PNG", "", false, 0, 0, nullptr, true},
    // What library files use is warned of first; No keeps it, Yes goes on to the usual question.
    {"UsedFileKeptOnNo", "dog.cr2;dog.png", "", true, answer::kYes, 0, nullptr, false, 2,
     answer::kNo,
     "'dog.cr2' is in use|68|2 library files use the 'dog.cr2' file, the first of them "
     "C:\\Lib\\fig.cr2.\r\nThey will load without it. Delete it all the same?"},
    {"UsedFolderGoesOnYes", "Sample/Deep/a.obj;dog.cr2", "Sample", false, answer::kYes, 0,
     "Deleting the 'Sample' folder...|20|"
     "Are you sure you want to PERMANENTLY delete the 'Sample' folder?",
     false, 1, answer::kYes,
     "'Sample' is in use|68|1 library file uses what the 'Sample' folder holds, the first of "
     "them C:\\Lib\\fig.cr2.\r\nThey will load without it. Delete it all the same?"},
    {"UnusedFileNotWarned", "dog.cr2;dog.png", "dog.cr2;dog.png", true, answer::kYes, 0, kAskTrash,
     false, 0},
};

class DeleteFlows : public FileopsFixture, public ::testing::WithParamInterface<DeleteCase> {};

TEST_P(DeleteFlows, RemovesWhatIsConfirmedAndKeepsTheTreeTrue) {
    const DeleteCase& tc = GetParam();
    const auto files = Split(tc.files, ';'), gone = Split(tc.gone, ';');
    for (const auto& f : files) c.createFile("Lib/" + f, "x");
    app->settings.MoveFile = tc.moveFile;
    app->settings.ConfirmDelete = tc.answer != 0;
    shell.trashError = fs->failOn["DeleteFile"] = std::max(tc.error, 0);
    if (tc.error < 0) app->shell = nullptr;
    NodeHandle node(reveal("C:\\Lib\\" + Split(files[0], '/')[0])), parent(node->parent());
    if (tc.vanished) std::filesystem::remove(c.host("Lib/" + files[0]));
    app->CurrentNode = node;
    if (tc.users >= 0) usage.users = ContentUsage::Users{size_t(tc.users), "C:\\Lib\\fig.cr2"};
    desktop.msgAnswers = {tc.answer};
    if (tc.users > 0) desktop.msgAnswers.push_front(tc.warnAnswer);

    DeleteThisNode(*app);

    for (const auto& f : files) {
        if (tc.vanished && f == files[0]) continue;
        EXPECT_EQ(c.exists("Lib/" + f), !std::count(gone.begin(), gone.end(), Split(f, '/')[0]))
            << f;
    }
    EXPECT_EQ(shell.trashed, tc.moveFile ? gone : std::vector<std::string>{});
    std::vector<std::string> boxes;
    if (tc.warned) boxes.push_back(tc.warned);
    if (tc.asked) boxes.push_back(tc.asked);
    EXPECT_EQ(Shown(desktop.msgBoxes), boxes);
    if (!tc.vanished) {
        EXPECT_EQ(usage.asked, std::vector<std::string>{c.host("Lib/" + Split(files[0], '/')[0])});
    }
    EXPECT_EQ(desktop.systemMessages.size(), tc.error ? 1u : 0u);
    const bool nodeGone = !gone.empty() || tc.vanished;
    EXPECT_EQ(node.get() == nullptr, nodeGone);
    EXPECT_EQ(app->CurrentNode.get(), nodeGone ? parent.get() : node.get());
}

INSTANTIATE_TEST_SUITE_P(Fileops, DeleteFlows, ::testing::ValuesIn(kDeleteCases), ByWhat);

}  // namespace
}  // namespace bw::test
