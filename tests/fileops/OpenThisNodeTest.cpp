#include "app/Desktop.h"
#include "fileops/FileopsFixture.h"
#include "fileops/OpenThisNode.h"

namespace bw::test {
namespace {

struct OpenCase {
    const char* what;
    const char* tagName;
    const char* pathOrText;  // a full path for tree items, the node's text for result lines
    const char* opened;      // C: relative host path handed over, or "-" for nothing
    const char* notice = nullptr;
};

class OpenFlows : public FileopsFixture, public ::testing::WithParamInterface<OpenCase> {};

TEST_P(OpenFlows, HandsTheRightPathToTheDesktop) {
    const OpenCase& tc = GetParam();
    for (const char* f :
         {"Lib/readme.txt", "Lib/readme.xyz", "Lib/a.jpeg", "New/Runtime/Textures/Skin/skin.jpg"})
        c.createFile(f);
    app->settings.Runtime = "C:\\New\\Runtime";
    shell.associated = {".txt"};
    const bool item = std::string(tc.pathOrText).rfind("C:", 0) == 0;
    Node* node = item ? reveal(tc.pathOrText) : app->tree.AddChild(reveal("C:\\Lib"));
    if (!item) node->SetText(tc.pathOrText);
    node->SetTag(tc.tagName);
    app->CurrentNode = NodeHandle(node);

    OpenThisNode(*app);

    std::vector<std::string> expected;
    if (std::string(tc.opened) != "-") expected.push_back(*tc.opened ? onC(tc.opened) : c.path());
    EXPECT_EQ(shell.opened, expected);
    if (tc.notice) {
        ASSERT_EQ(desktop.msgBoxes.size(), 1u);
        EXPECT_EQ(
            desktop.msgBoxes[0].prompt,
            std::string("There is no default application found for this file type: ") + tc.notice);
        EXPECT_EQ(desktop.msgBoxes[0].title, "Notice");
        EXPECT_EQ(desktop.msgBoxes[0].style, 0);
    } else {
        EXPECT_TRUE(desktop.msgBoxes.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Fileops, OpenFlows,
    ::testing::Values(
        OpenCase{"associated file", tag::kFile, "C:\\Lib\\readme.txt", "Lib/readme.txt"},
        OpenCase{"no association", tag::kFile, "C:\\Lib\\readme.xyz", "-", ".xyz"},
        OpenCase{"long extension", tag::kSystemFile, "C:\\Lib\\a.jpeg", "-", "jpeg"},
        OpenCase{"folder", tag::kFolder, "C:\\Lib", "Lib"},
        OpenCase{"system folder", tag::kSystemFolder, "C:\\Lib", "Lib"},
        OpenCase{"drive", tag::kDrive, "C:", ""},
        OpenCase{"found under the Runtime now set", tag::kRefFolder,
                 "Found in: D:\\Old\\Runtime\\Textures\\Skin\\skin.jpg",
                 "New/Runtime/Textures/Skin"},
        OpenCase{"found directly in Runtime", tag::kRefFolder,
                 "Found in: D:\\Old\\Runtime\\skin.jpg", "New/Runtime"},
        OpenCase{"reference line", tag::kReference, "Runtime:Textures:skin.jpg", "-"}),
    [](const auto& info) { return CaseName(info.param.what); });

}  // namespace
}  // namespace bw::test
