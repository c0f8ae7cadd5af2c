#include "app/Desktop.h"
#include "fileops/FileopsFixture.h"
#include "fileops/OpenThisNode.h"

namespace bw::test {
namespace {

struct NoticeCase {
    const char* name;
    const char* ending;
};

class OpenWithoutAssociation : public FileopsFixture,
                               public ::testing::WithParamInterface<NoticeCase> {};

TEST_P(OpenWithoutAssociation, ShowsNoticeWithTheLastFourCharacters) {
    c.createFile(std::string("Lib/") + GetParam().name);
    shell.associated = {".txt"};
    select(std::string("C:\\Lib\\") + GetParam().name);

    OpenThisNode(*app);

    ASSERT_EQ(desktop.msgBoxes.size(), 1u);
    EXPECT_EQ(desktop.msgBoxes[0].prompt,
              std::string("There is no default application found for this file type: ") +
                  GetParam().ending);
    EXPECT_EQ(desktop.msgBoxes[0].title, "Notice");
    EXPECT_EQ(desktop.msgBoxes[0].style, 0);
    EXPECT_EQ(shell.asked.size(), 1u);  // the association was asked before anything started
    EXPECT_TRUE(shell.opened.empty());
}

INSTANTIATE_TEST_SUITE_P(Fileops, OpenWithoutAssociation,
                         ::testing::Values(NoticeCase{"readme.xyz", ".xyz"},
                                           NoticeCase{"a.jpeg", "jpeg"},
                                           NoticeCase{"setup.exe", ".exe"},
                                           NoticeCase{"ab", "b\\ab"}));

// What is handed to the desktop for each kind of node (C: relative host path; empty: nothing).
struct OpenCase {
    const char* what;
    const char* tagName;
    const char* fullPathOrText;  // a full path for tree items, the node text for results
    const char* opened;
};

class OpenHandsOver : public FileopsFixture, public ::testing::WithParamInterface<OpenCase> {
  protected:
    void SetUp() override {
        c.createFile("Lib/readme.txt");
        c.createFile("New/Runtime/Textures/Skin/skin.jpg");
        app->settings.Runtime = "C:\\New\\Runtime";
        app->settings.ProtectSystemFilesFolders = false;
        shell.associated = {".txt"};
    }
};

TEST_P(OpenHandsOver, TheRightPathToTheShell) {
    const OpenCase& tc = GetParam();
    Node* node = nullptr;
    if (std::string(tc.fullPathOrText).rfind("C:", 0) == 0) {
        node = reveal(tc.fullPathOrText);
    } else {
        node = app->tree.AddChild(reveal("C:\\Lib"));
        node->SetText(tc.fullPathOrText);
    }
    ASSERT_TRUE(node);
    node->SetTag(tc.tagName);
    app->CurrentNode = NodeHandle(node);

    OpenThisNode(*app);

    if (*tc.opened) {
        ASSERT_EQ(shell.opened.size(), 1u);
        EXPECT_EQ(shell.opened[0], onC(tc.opened));
    } else {
        EXPECT_TRUE(shell.opened.empty());
    }
    EXPECT_TRUE(desktop.msgBoxes.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Fileops, OpenHandsOver,
    ::testing::Values(OpenCase{"file", tag::kFile, "C:\\Lib\\readme.txt", "Lib/readme.txt"},
                      OpenCase{"folder", tag::kFolder, "C:\\Lib", "Lib"},
                      OpenCase{"system folder", tag::kSystemFolder, "C:\\Lib", "Lib"},
                      OpenCase{"found under the Runtime now set", tag::kRefFolder,
                               "Found in: D:\\Old\\Runtime\\Textures\\Skin\\skin.jpg",
                               "New/Runtime/Textures/Skin"},
                      OpenCase{"reference line", tag::kReference, "Runtime:Textures:skin.jpg", ""}),
    [](const auto& info) { return CaseName(info.param.what); });

TEST_F(FileopsFixture, OpenDriveShowsItsRoot) {
    select("C:");
    OpenThisNode(*app);
    ASSERT_EQ(shell.opened.size(), 1u);
    EXPECT_EQ(shell.opened[0], c.path());
}

struct RefCase {
    const char* text;
    const char* runtime;
    const char* folder;
};

class RefFolderPaths : public ::testing::TestWithParam<RefCase> {};

TEST_P(RefFolderPaths, FolderUnderTheRuntimeSetting) {
    EXPECT_EQ(RefFolderPath(GetParam().text, GetParam().runtime), GetParam().folder);
}

INSTANTIATE_TEST_SUITE_P(
    Fileops, RefFolderPaths,
    ::testing::Values(
        RefCase{"Found in: C:\\Poser4\\Runtime\\Textures\\Skin\\skin.jpg", "D:\\Poser4\\Runtime",
                "D:\\Poser4\\Runtime\\Textures\\Skin"},
        RefCase{"Found in: C:\\Poser4\\Runtime\\skin.jpg", "D:\\P\\Runtime", "D:\\P\\Runtime"},
        RefCase{"Found in: C:\\Poser4\\runtime\\x\\skin.jpg", "D:\\R", "C:\\Poser4\\runtime\\x"}));

}  // namespace
}  // namespace bw::test
