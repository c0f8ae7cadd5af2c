#include <set>

#include "core/Desktop.h"
#include "fileops/FileopsFixture.h"
#include "fileops/RenameThisNode.h"

namespace bw::test {
namespace {

// files: under C:\Lib, ";" between, the first (or its top folder) being renamed; answer: nullptr
// when nothing may be asked; after: C:\Lib's names afterwards, on disk and in the tree;
// failAt: the rename call that fails with renameError ("Rename" for every one).
struct RenameCase {
    const char *what, *files, *answer, *after;
    int renameError = 0;
    size_t errors = 0;
    const char* failAt = "Rename";
};

const RenameCase kRenameCases[] = {
    {"WithCompanions", "dog.cr2;dog.rsr;dog.png", "puppy.cr2", "puppy.cr2;puppy.png;puppy.rsr"},
    {"CaseOnly", "dog.cr2;dog.png", "Dog.cr2", "Dog.cr2;Dog.png"},
    {"CompanionsFromTheNewName", "dog.cr2;dog.rsr", "puppy.pz2", "puppy.pz2;puppy.rsr"},
    {"Folder", "Sample/a.obj", "Samples", "Samples"},
    {"SystemFileUntouched", "setup.exe", nullptr, "setup.exe"},
    {"EmptyAnswer", "dog.cr2", "", "dog.cr2"},
    // Failures are reported and the tree still shows what is on disk.
    {"NameTaken", "dog.cr2;taken.cr2", "taken.cr2", "dog.cr2;taken.cr2", 0, 1},
    {"SeparatorInName", "dog.cr2", "sub\\x.cr2", "dog.cr2", 0, 1},
    {"Locked", "dog.cr2;dog.rsr", "puppy.cr2", "dog.cr2;dog.rsr", err::kPermissionDenied, 1},
    {"ExtensionOnly", "dog.cr2;dog.rsr;dog.png", "dog.pz2", "dog.png;dog.pz2;dog.rsr"},
    // Every new name is checked first: a clash on any of them renames nothing.
    {"CompanionNameTaken", "dog.cr2;dog.rsr;dog.png;puppy.png", "puppy.cr2",
     "dog.cr2;dog.png;dog.rsr;puppy.png", 0, 1},
    {"CompanionFolderNameTaken", "dog.cr2;dog.rsr;puppy.rsr/x", "puppy.cr2",
     "dog.cr2;dog.rsr;puppy.rsr", 0, 1},
    {"TwoNewNamesAlike", "dog.cr2;dog.png", "puppy.png", "dog.cr2;dog.png", 0, 1},
    // A rename failing half-way is undone.
    {"LastRenameFails", "dog.cr2;dog.rsr;dog.png", "puppy.cr2", "dog.cr2;dog.png;dog.rsr",
     err::kDeviceIO, 1, "Rename3"},
};

class RenameFlows : public FileopsFixture, public ::testing::WithParamInterface<RenameCase> {};

TEST_P(RenameFlows, RenamesOnDiskAndTheTreeShowsTheDisk) {
    const RenameCase& tc = GetParam();
    const auto files = Split(tc.files, ';');
    for (const auto& f : files) c.createFile("Lib/" + f, f);
    const std::string old = Split(files[0], '/')[0], kind = old == files[0] ? "File" : "Folder";
    app->CurrentNode = NodeHandle(reveal("C:\\Lib\\" + old));
    NodeHandle parent(app->CurrentNode->parent());
    fs->failOn[tc.failAt] = tc.renameError;
    desktop.inputAnswers = {tc.answer ? tc.answer : "other.exe"};

    RenameThisNode(*app);

    std::set<std::string> onDisk, inTree;
    for (const auto& e : std::filesystem::directory_iterator(onC("Lib")))
        onDisk.insert(e.path().filename());
    for (const auto& n : parent->children()) inTree.insert(n->text());
    const auto after = Split(tc.after, ';');
    EXPECT_EQ(onDisk, std::set<std::string>(after.begin(), after.end()));
    EXPECT_EQ(inTree, onDisk);
    const std::string ask = "Enter a new name|64|Enter a new name for this " + kind + ". ";
    EXPECT_EQ(Shown(desktop.inputBoxes), std::vector<std::string>(tc.answer ? 1 : 0, ask));
    EXPECT_EQ(errorsShown(), tc.errors);
    const bool renamed = !tc.errors && tc.answer && *tc.answer;
    EXPECT_EQ(app->CurrentNode->text(), renamed ? tc.answer : old);
}

INSTANTIATE_TEST_SUITE_P(Fileops, RenameFlows, ::testing::ValuesIn(kRenameCases), ByWhat);

}  // namespace
}  // namespace bw::test
