#include "app/Desktop.h"
#include "fileops/FileopsFixture.h"
#include "fileops/RenameThisNode.h"

namespace bw::test {
namespace {

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
    const char* answer;
    std::vector<std::string> after;  // the folder afterwards, sorted
    int renameError = 0;
    size_t errors = 0;
};

class RenameFlows : public FileopsFixture, public ::testing::WithParamInterface<RenameCase> {};

TEST_P(RenameFlows, RenamesOnDiskAndTheTreeShowsTheDisk) {
    const RenameCase& tc = GetParam();
    for (const auto& f : tc.files) c.createFile("Lib/" + f, f);
    NodeHandle parent(select("C:\\Lib\\" + tc.files[0])->parent());
    fs->renameError = tc.renameError;
    desktop.inputAnswers = {tc.answer};

    RenameThisNode(*app);

    ASSERT_EQ(desktop.inputBoxes.size(), 1u);
    EXPECT_EQ(desktop.inputBoxes[0].prompt, "Enter a new name for this File. ");
    EXPECT_EQ(desktop.inputBoxes[0].title, "Enter a new name");
    EXPECT_EQ(desktop.inputBoxes[0].style, 64);
    EXPECT_EQ(NamesIn(onC("Lib")), tc.after);
    EXPECT_EQ(errorsShown(), tc.errors);
    std::vector<std::string> shownNames = childTexts(parent.get());
    std::sort(shownNames.begin(), shownNames.end());
    EXPECT_EQ(shownNames, tc.after);
    ASSERT_TRUE(app->CurrentNode.get());
    EXPECT_EQ(app->CurrentNode->text(), tc.errors || !*tc.answer ? tc.files[0] : tc.answer);
}

INSTANTIATE_TEST_SUITE_P(
    Fileops, RenameFlows,
    ::testing::Values(
        RenameCase{"with companions",
                   {"dog.cr2", "dog.rsr", "dog.png"},
                   "puppy.cr2",
                   {"puppy.cr2", "puppy.png", "puppy.rsr"}},
        RenameCase{"upper case takes companions",
                   {"DOG.CR2", "DOG.rsr", "DOG.png"},
                   "cat.cr2",
                   {"cat.cr2", "cat.png", "cat.rsr"}},
        RenameCase{"case only", {"dog.cr2", "dog.png"}, "Dog.cr2", {"Dog.cr2", "Dog.png"}},
        RenameCase{"companions from the new name",
                   {"dog.cr2", "dog.rsr"},
                   "puppy.pz2",
                   {"puppy.pz2", "puppy.rsr"}},
        RenameCase{"empty answer", {"dog.cr2"}, "", {"dog.cr2"}},
        RenameCase{"unchanged answer", {"dog.cr2"}, "dog.cr2", {"dog.cr2"}},
        RenameCase{
            "name taken", {"dog.cr2", "taken.cr2"}, "taken.cr2", {"dog.cr2", "taken.cr2"}, 0, 1},
        RenameCase{"separator in name", {"dog.cr2"}, "sub\\x.cr2", {"dog.cr2"}, 0, 1},
        RenameCase{"too short for a companion",
                   {"dog.cr2", "dog.rsr"},
                   "ab",
                   {"dog.cr2", "dog.rsr"},
                   0,
                   1},
        RenameCase{"locked", {"dog.cr2", "dog.rsr"}, "puppy.cr2", {"dog.cr2", "dog.rsr"}, 70, 1}),
    [](const auto& info) { return CaseName(info.param.what); });

TEST_F(FileopsFixture, RenameOnlyFoldersAndFiles) {
    c.createFile("Lib/Sample/a.obj");
    c.createFile("Lib/setup.exe");
    select("C:\\Lib\\setup.exe");
    desktop.inputAnswers = {"other.exe"};
    RenameThisNode(*app);
    EXPECT_TRUE(desktop.inputBoxes.empty());
    desktop.inputAnswers = {"Samples"};
    select("C:\\Lib\\Sample");
    RenameThisNode(*app);
    ASSERT_EQ(desktop.inputBoxes.size(), 1u);
    EXPECT_EQ(desktop.inputBoxes[0].prompt, "Enter a new name for this Folder. ");
    EXPECT_TRUE(c.exists("Lib/Samples/a.obj"));
    EXPECT_TRUE(c.exists("Lib/setup.exe"));
}

}  // namespace
}  // namespace bw::test
