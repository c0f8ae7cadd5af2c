#include <gtest/gtest.h>

#include "browser/RevealFile.h"
#include "core/TreePopulation.h"
#include "support/AppFixture.h"

namespace bw::test {
namespace {

class RevealFileTest : public AppFixture {
  protected:
    RevealFileTest() {
        c.createFile("Runtime/Libraries/Pose/Wave.pz2");
        c.createDir("Runtime/Libraries/Hair");
        GetDrives(*app);
    }
    // Opens a folder and every folder above it, as clicks on their expand signs would.
    Node* Open(const std::string& fullPath) {
        Node* node = nullptr;
        for (size_t slash = 0; slash != std::string::npos;) {
            slash = fullPath.find('\\', slash + 1);
            const std::string prefix = fullPath.substr(0, slash);
            Node* next = nullptr;
            if (!node) {
                for (const auto& r : app->tree.roots())
                    if (r->FullPath() == prefix) next = r.get();
            } else {
                next = childNamed(node, prefix.substr(prefix.rfind('\\') + 1));
            }
            if (!(node = next)) return nullptr;
            node->SetExpanded(true);
            ExpandNode(*app, *node);
        }
        return node;
    }
    std::string Current() const {
        return app->CurrentNode ? app->CurrentNode->FullPath() : std::string("(none)");
    }
};

TEST_F(RevealFileTest, OpensTheWayToTheFileAndSelectsIt) {
    Node* n = RevealFile(*app, "C:\\Runtime\\Libraries\\Pose\\Wave.pz2");
    ASSERT_TRUE(n);
    EXPECT_EQ(Current(), "C:\\Runtime\\Libraries\\Pose\\Wave.pz2");
    EXPECT_EQ(app->tree.selected(), n);
    for (Node* up = n->parent(); up; up = up->parent()) EXPECT_TRUE(up->expanded()) << up->text();
}

TEST_F(RevealFileTest, LeavesOpenBranchesAsTheyAre) {
    Node* hair = Open("C:\\Runtime\\Libraries\\Hair");
    ASSERT_TRUE(hair);
    RevealFile(*app, "C:\\Runtime\\Libraries\\Pose\\Wave.pz2");
    // Refilling the open Libraries folder would have closed its Hair branch.
    EXPECT_TRUE(hair->attached());
    EXPECT_TRUE(hair->expanded());
}

TEST_F(RevealFileTest, ReadsAnOpenFolderAgainForAFileMadeSinceItWasListed) {
    ASSERT_TRUE(Open("C:\\Runtime\\Libraries\\Pose"));
    c.createFile("Runtime/Libraries/Pose/New.pz2");
    ASSERT_TRUE(RevealFile(*app, "C:\\Runtime\\Libraries\\Pose\\New.pz2"));
    EXPECT_EQ(Current(), "C:\\Runtime\\Libraries\\Pose\\New.pz2");
}

TEST_F(RevealFileTest, AFileThatIsGoneSelectsTheNearestFolderAbove) {
    ASSERT_TRUE(RevealFile(*app, "C:\\Runtime\\Libraries\\Gone\\Old.pz2"));
    EXPECT_EQ(Current(), "C:\\Runtime\\Libraries");
}

TEST_F(RevealFileTest, AnUnknownDriveSelectsNothing) {
    EXPECT_EQ(RevealFile(*app, "Q:\\Runtime\\a.pz2"), nullptr);
    EXPECT_EQ(Current(), "(none)");
}

}  // namespace
}  // namespace bw::test
