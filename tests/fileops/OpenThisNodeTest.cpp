#include "core/Desktop.h"
#include "fileops/FileopsFixture.h"
#include "fileops/OpenThisNode.h"

namespace bw::test {
namespace {

// node: a full path of a tree item, else the text of a node added under C:\Lib; opened: the C:
// relative path handed over ("-": nothing); notice: the missing-association notice is shown.
struct OpenCase {
    const char *what, *tagName, *node, *opened;
    bool notice = false;
};

const OpenCase kOpenCases[] = {
    {"AssociatedFile", tag::kFile, "readme.txt", "Lib/readme.txt"},
    {"NoAssociation", tag::kFile, "readme.xyz", "-", true},
    {"Folder", tag::kFolder, "C:\\Lib", "Lib"},
    // A location opens under the Runtime folder set now, not the one in the node's text.
    {"FoundUnderNewRuntime", tag::kRefFolder,
     "Found in: D:\\Old\\Runtime\\Textures\\Skin\\skin.jpg", "New/Runtime/Textures/Skin"},
    {"ReferenceLine", tag::kReference, "Runtime:Textures:skin.jpg", "-"},
};

class OpenFlows : public FileopsFixture, public ::testing::WithParamInterface<OpenCase> {};

TEST_P(OpenFlows, HandsTheRightPathToTheDesktop) {
    const OpenCase& tc = GetParam();
    c.createFile("New/Runtime/Textures/Skin/skin.jpg");
    c.createDir("Lib");
    app->settings.Runtime = "C:\\New\\Runtime";
    shell.associated = {".txt"};
    const bool item = StartsWith(tc.node, "C:");
    Node* node = item ? reveal(tc.node) : app->tree.AddChild(reveal("C:\\Lib"));
    if (!item) node->SetText(tc.node);
    node->SetTag(tc.tagName);
    app->CurrentNode = NodeHandle(node);

    OpenThisNode(*app);

    EXPECT_EQ(shell.opened, std::vector<std::string>(*tc.opened != '-', onC(tc.opened)));
    EXPECT_EQ(Shown(desktop.msgBoxes),
              std::vector<std::string>(tc.notice,
                                       "Notice|0|There is no default application "
                                       "found for this file type: .xyz"));
}

INSTANTIATE_TEST_SUITE_P(Fileops, OpenFlows, ::testing::ValuesIn(kOpenCases), ByWhat);

}  // namespace
}  // namespace bw::test
