#include "app/Desktop.h"
#include "app/ReportError.h"
#include "fileops/DeleteThisNode.h"
#include "fileops/FileopsFixture.h"

namespace bw::test {
namespace {

struct DeleteCase {
    const char* what;
    std::vector<std::string> files;  // under C:\Lib
    const char* target;              // name under C:\Lib
    bool moveFile;
    std::vector<std::string> gone;  // removed, in order of removal when trashed
    std::vector<std::string> kept;
};

class DeleteFlows : public FileopsFixture, public ::testing::WithParamInterface<DeleteCase> {};

TEST_P(DeleteFlows, RemovesItemAndCompanionsAndSelectsParent) {
    const DeleteCase& tc = GetParam();
    for (const auto& f : tc.files) c.createFile("Lib/" + f, "x");
    app->settings.MoveFile = tc.moveFile;
    Node* node = select(std::string("C:\\Lib\\") + tc.target);
    ASSERT_TRUE(node);
    Node* parent = node->parent();
    desktop.msgAnswers = {answer::kYes};

    DeleteThisNode(*app);

    for (const auto& g : tc.gone) EXPECT_FALSE(c.exists("Lib/" + g)) << g;
    for (const auto& k : tc.kept) EXPECT_TRUE(c.exists("Lib/" + k)) << k;
    if (tc.moveFile) {
        ASSERT_EQ(shell.trashed.size(), tc.gone.size());
        for (size_t i = 0; i < tc.gone.size(); ++i)
            EXPECT_EQ(shell.trashed[i], onC("Lib/" + tc.gone[i]));
    } else {
        EXPECT_TRUE(shell.trashed.empty());
    }
    ASSERT_EQ(desktop.msgBoxes.size(), 1u);  // the confirmation only, no error
    EXPECT_EQ(desktop.msgBoxes[0].style, 20);
    EXPECT_EQ(childNamed(parent, tc.target), nullptr);
    EXPECT_EQ(app->CurrentNode.get(), parent);
}

INSTANTIATE_TEST_SUITE_P(Fileops, DeleteFlows,
                         ::testing::Values(DeleteCase{"companions to trash",
                                                      {"dog.cr2", "dog.rsr", "dog.png"},
                                                      "dog.cr2",
                                                      true,
                                                      {"dog.cr2", "dog.rsr", "dog.png"},
                                                      {}},
                                           DeleteCase{"only png, permanently",
                                                      {"dog.cr2", "dog.png", "cat.rsr"},
                                                      "dog.cr2",
                                                      false,
                                                      {"dog.cr2", "dog.png"},
                                                      {"cat.rsr"}},
                                           DeleteCase{"upper case extension has none",
                                                      {"DOG.CR2", "DOG.rsr", "DOG.png"},
                                                      "DOG.CR2",
                                                      true,
                                                      {"DOG.CR2"},
                                                      {"DOG.rsr", "DOG.png"}},
                                           DeleteCase{"image has none",
                                                      {"skin.jpg", "skin.rsr", "skin.png"},
                                                      "skin.jpg",
                                                      true,
                                                      {"skin.jpg"},
                                                      {"skin.rsr", "skin.png"}},
                                           DeleteCase{"name without a dot has none",
                                                      {"dogxcr2", "dog.rsr"},
                                                      "dogxcr2",
                                                      false,
                                                      {"dogxcr2"},
                                                      {"dog.rsr"}}),
                         [](const auto& info) { return CaseName(info.param.what); });

struct PromptCase {
    bool moveFile;
    const char* path;
    const char* title;
    const char* prompt;
};

class DeletePrompts : public FileopsFixture, public ::testing::WithParamInterface<PromptCase> {};

TEST_P(DeletePrompts, AnsweringNoChangesNothing) {
    const PromptCase& tc = GetParam();
    c.createFile("Lib/dog.cr2", "x");
    c.createFile("Lib/Sample/a.obj", "x");
    app->settings.MoveFile = tc.moveFile;
    Node* node = select(tc.path);
    desktop.msgAnswers = {answer::kNo};

    DeleteThisNode(*app);

    ASSERT_EQ(desktop.msgBoxes.size(), 1u);
    EXPECT_EQ(desktop.msgBoxes[0].title, tc.title);
    EXPECT_EQ(desktop.msgBoxes[0].prompt, tc.prompt);
    EXPECT_EQ(desktop.msgBoxes[0].style, style::kYesNo + style::kHand);
    EXPECT_TRUE(c.exists("Lib/dog.cr2"));
    EXPECT_TRUE(c.exists("Lib/Sample/a.obj"));
    EXPECT_TRUE(shell.trashed.empty());
    EXPECT_TRUE(node->attached());
    EXPECT_EQ(app->CurrentNode.get(), node);
}

INSTANTIATE_TEST_SUITE_P(
    Fileops, DeletePrompts,
    ::testing::Values(
        PromptCase{true, "C:\\Lib\\dog.cr2", "Deleting the 'dog.cr2' file...",
                   "Are you sure you want to move the 'dog.cr2' file to the Recycle Bin?"},
        PromptCase{false, "C:\\Lib\\Sample", "Deleting the 'Sample' folder...",
                   "Are you sure you want to PERMANENTLY delete the 'Sample' folder?"}));

TEST_F(FileopsFixture, DeleteWithoutConfirmationRemovesWholeFolder) {
    c.createFile("Lib/Sample/Deep/a.obj", "x");
    app->settings.ConfirmDelete = false;
    app->settings.MoveFile = false;
    Node* lib = expandTo("C:\\Lib");
    select("C:\\Lib\\Sample");

    DeleteThisNode(*app);

    EXPECT_TRUE(desktop.msgBoxes.empty());
    EXPECT_FALSE(c.exists("Lib/Sample"));
    EXPECT_EQ(childNamed(lib, "Sample"), nullptr);
}

// A removal that fails must leave the item, its thumbnails and its node: the tree shows the disk.
struct FailureCase {
    const char* what;
    bool moveFile;
    bool withShell;
    int error;
    const char* shown;  // the program's own box after the confirmation, or empty for the system one
};

class DeleteFailures : public FailingFileopsFixture,
                       public ::testing::WithParamInterface<FailureCase> {};

TEST_P(DeleteFailures, KeepNodeAndFilesAndReport) {
    const FailureCase& tc = GetParam();
    c.createFile("Lib/dog.cr2", "x");
    c.createFile("Lib/dog.png", "x");
    app->settings.MoveFile = tc.moveFile;
    app->settings.ConfirmDelete = false;
    if (!tc.withShell) app->shell = nullptr;
    shell.trashError = tc.error;
    fs->deleteError = tc.error;
    Node* node = select("C:\\Lib\\dog.cr2");

    DeleteThisNode(*app);

    EXPECT_TRUE(c.exists("Lib/dog.cr2"));
    EXPECT_TRUE(c.exists("Lib/dog.png"));
    EXPECT_TRUE(node->attached());
    EXPECT_EQ(app->CurrentNode.get(), node);
    if (*tc.shown) {
        ASSERT_EQ(desktop.msgBoxes.size(), 1u);
        EXPECT_EQ(desktop.msgBoxes[0].prompt, tc.shown);
    } else {
        ASSERT_EQ(desktop.systemMessages.size(), 1u);
        EXPECT_NE(desktop.systemMessages[0].prompt.find("RemoveThisFile: C:\\Lib\\dog.cr2"),
                  std::string::npos);
    }
}

INSTANTIATE_TEST_SUITE_P(Fileops, DeleteFailures,
                         ::testing::Values(FailureCase{"trash refused", true, true, 70,
                                                       kSecurityMessage},
                                           FailureCase{"no trash", true, false, 0, ""},
                                           FailureCase{"locked", false, true, 70, kSecurityMessage},
                                           FailureCase{"device", false, true, 57, ""}),
                         [](const auto& info) { return CaseName(info.param.what); });

}  // namespace
}  // namespace bw::test
