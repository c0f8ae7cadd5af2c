#include <algorithm>
#include <filesystem>

#include "app/Desktop.h"
#include "app/ReportError.h"
#include "fileops/FileopsFixture.h"
#include "fileops/RenameThisNode.h"
#include "platform/Text.h"

namespace bw::test {
namespace {

// Names in a host folder, sorted, exactly as the disk spells them.
std::vector<std::string> NamesIn(const std::string& hostFolder) {
    std::vector<std::string> out;
    for (const auto& e : std::filesystem::directory_iterator(hostFolder))
        out.push_back(e.path().filename());
    std::sort(out.begin(), out.end());
    return out;
}

struct RenameCase {
    const char* what;
    std::vector<std::string> files;  // under C:\Lib
    const char* target;
    const char* answer;
    std::vector<std::string> after;  // the folder afterwards, sorted
    const char* selected;            // the current node's text afterwards
};

class RenameFlows : public FileopsFixture, public ::testing::WithParamInterface<RenameCase> {};

TEST_P(RenameFlows, RenamesOnDiskAndListsTheFolderAgain) {
    const RenameCase& tc = GetParam();
    for (const auto& f : tc.files) c.createFile("Lib/" + f, f);
    Node* node = select(std::string("C:\\Lib\\") + tc.target);
    ASSERT_TRUE(node);
    NodeHandle parent(node->parent());
    desktop.inputAnswers = {tc.answer};

    RenameThisNode(*app);

    EXPECT_EQ(NamesIn(onC("Lib")), tc.after);
    EXPECT_TRUE(desktop.msgBoxes.empty());
    EXPECT_TRUE(desktop.systemMessages.empty());
    // The folder was listed again: its nodes are what the disk holds, in the tree's order.
    std::vector<std::string> shown = childTexts(parent.get());
    std::vector<std::string> sorted = tc.after;
    std::sort(sorted.begin(), sorted.end(),
              [](const auto& a, const auto& b) { return AsciiLower(a) < AsciiLower(b); });
    EXPECT_EQ(shown, sorted);
    ASSERT_TRUE(app->CurrentNode.get());
    EXPECT_EQ(app->CurrentNode->text(), tc.selected);
}

INSTANTIATE_TEST_SUITE_P(
    Fileops, RenameFlows,
    ::testing::Values(
        RenameCase{"with companions",
                   {"dog.cr2", "dog.rsr", "dog.png", "z.txt"},
                   "dog.cr2",
                   "puppy.cr2",
                   {"puppy.cr2", "puppy.png", "puppy.rsr", "z.txt"},
                   "puppy.cr2"},
        RenameCase{"upper case still takes companions",
                   {"DOG.CR2", "DOG.rsr", "DOG.png"},
                   "DOG.CR2",
                   "cat.cr2",
                   {"cat.cr2", "cat.png", "cat.rsr"},
                   "cat.cr2"},
        RenameCase{"case only",
                   {"dog.cr2", "dog.png"},
                   "dog.cr2",
                   "Dog.cr2",
                   {"Dog.cr2", "Dog.png"},
                   "Dog.cr2"},
        RenameCase{"companions from the new extension",
                   {"dog.cr2", "dog.rsr"},
                   "dog.cr2",
                   "puppy.pz2",
                   {"puppy.pz2", "puppy.rsr"},
                   "puppy.pz2"},
        RenameCase{"missing companions skipped",
                   {"dog.cr2"},
                   "dog.cr2",
                   "puppy.cr2",
                   {"puppy.cr2"},
                   "puppy.cr2"},
        RenameCase{"other file has none",
                   {"skin.jpg", "skin.png"},
                   "skin.jpg",
                   "hide.jpg",
                   {"hide.jpg", "skin.png"},
                   "hide.jpg"},
        RenameCase{"empty answer", {"dog.cr2"}, "dog.cr2", "", {"dog.cr2"}, "dog.cr2"},
        RenameCase{"unchanged answer", {"dog.cr2"}, "dog.cr2", "dog.cr2", {"dog.cr2"}, "dog.cr2"}),
    [](const auto& info) { return CaseName(info.param.what); });

TEST_F(FileopsFixture, RenameAsksWithTagAndOldName) {
    c.createFile("Lib/Sample/a.obj");
    select("C:\\Lib\\Sample");
    desktop.inputAnswers = {"Samples"};

    RenameThisNode(*app);

    ASSERT_EQ(desktop.inputBoxes.size(), 1u);
    EXPECT_EQ(desktop.inputBoxes[0].prompt, "Enter a new name for this Folder. ");
    EXPECT_EQ(desktop.inputBoxes[0].title, "Enter a new name");
    EXPECT_EQ(desktop.inputBoxes[0].style, 64);
    EXPECT_TRUE(c.exists("Lib/Samples/a.obj"));
}

TEST_F(FileopsFixture, RenameDoesNothingForOtherNodes) {
    c.createFile("Lib/setup.exe");
    Node* node = select("C:\\Lib\\setup.exe");
    ASSERT_EQ(node->tag(), tag::kSystemFile);
    desktop.inputAnswers = {"other.exe"};

    RenameThisNode(*app);

    EXPECT_TRUE(desktop.inputBoxes.empty());
    EXPECT_TRUE(c.exists("Lib/setup.exe"));
}

// A refused rename is reported and renames nothing that the tree would then show wrongly.
struct RenameFailure {
    const char* what;
    const char* answer;
    int renameError;  // injected by the file system
    std::vector<std::string> after;
    const char* shownOrEmpty;  // the program's own box text, or empty for the system box
};

class RenameFailures : public FailingFileopsFixture,
                       public ::testing::WithParamInterface<RenameFailure> {};

TEST_P(RenameFailures, ReportAndShowTheDisk) {
    const RenameFailure& tc = GetParam();
    for (const char* f : {"dog.cr2", "dog.rsr", "taken.cr2"})
        c.createFile(std::string("Lib/") + f, f);
    Node* node = select("C:\\Lib\\dog.cr2");
    NodeHandle parent(node->parent());
    fs->renameError = tc.renameError;
    desktop.inputAnswers = {tc.answer};

    RenameThisNode(*app);

    EXPECT_EQ(NamesIn(onC("Lib")), tc.after);
    EXPECT_EQ(c.readBytes("Lib/taken.cr2"), "taken.cr2");
    if (*tc.shownOrEmpty) {
        ASSERT_EQ(desktop.msgBoxes.size(), 1u);
        EXPECT_EQ(desktop.msgBoxes[0].prompt, tc.shownOrEmpty);
    } else {
        ASSERT_EQ(desktop.systemMessages.size(), 1u);
        EXPECT_NE(desktop.systemMessages[0].prompt.find("RenameThisNode"), std::string::npos);
    }
    std::vector<std::string> shown = childTexts(parent.get());
    std::sort(shown.begin(), shown.end());
    EXPECT_EQ(shown, tc.after);
    ASSERT_TRUE(app->CurrentNode.get());
    EXPECT_EQ(app->CurrentNode->text(), "dog.cr2");
}

INSTANTIATE_TEST_SUITE_P(
    Fileops, RenameFailures,
    ::testing::Values(
        RenameFailure{"name taken", "taken.cr2", 0, {"dog.cr2", "dog.rsr", "taken.cr2"}, ""},
        RenameFailure{
            "separator in name", "sub\\x.cr2", 0, {"dog.cr2", "dog.rsr", "taken.cr2"}, ""},
        RenameFailure{"slash in name", "../x.cr2", 0, {"dog.cr2", "dog.rsr", "taken.cr2"}, ""},
        RenameFailure{
            "too short for a companion", "ab", 0, {"dog.cr2", "dog.rsr", "taken.cr2"}, ""},
        RenameFailure{
            "locked item", "puppy.cr2", 70, {"dog.cr2", "dog.rsr", "taken.cr2"}, kSecurityMessage}),
    [](const auto& info) { return CaseName(info.param.what); });

}  // namespace
}  // namespace bw::test
