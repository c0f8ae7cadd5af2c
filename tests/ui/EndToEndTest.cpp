#include <gtest/gtest.h>

#include "core/Classification.h"
#include "support/WindowFixture.h"

namespace bw::test {
namespace {

using Lines = std::vector<std::string>;
// Driven only by clicks on the tree.
using EndToEndTest = WindowFixture;

TEST_F(EndToEndTest, StaleTextureIsRepairedFromTheTree) {
    Start();
    const std::string folder = "Poser4/Runtime/Libraries/character/Sample/";
    const std::string original = c.readBytes(folder + "Figure.cr2");
    const std::string stale = ":Runtime:Textures:Sample:skin.jpg";
    const QModelIndex figure =
        Expand({"C:", "Poser4", "Runtime", "Libraries", "character", "Sample", "Figure.cr2"});
    Click(Find(figure, kScanForFileText));
    const QModelIndex reference = Find(figure, stale);
    ASSERT_TRUE(reference.isValid()) << ::testing::PrintToString(Texts(figure));
    Click(Find(reference, kFindLocationText));
    const QModelIndex found = Find(reference, "Referenced file found in:");
    ASSERT_TRUE(found.isValid()) << ::testing::PrintToString(Texts(reference));
    EXPECT_EQ(Texts(found), Lines{"Found in: C:\\Poser4\\Runtime\\Textures\\Other\\skin.jpg"});
    const QModelIndex discrepancy = Find(Find(found, "Found in:"), "Discrepancy Found");
    ASSERT_TRUE(discrepancy.isValid());

    // Only the stale name changes, to the quoted new one; the backup is the original.
    Click(discrepancy);
    std::string expected = original;
    expected.replace(expected.find(stale), stale.size(), "\":Runtime:Textures:Other:skin.jpg\"");
    EXPECT_TRUE(c.readBytes(folder + "Figure.cr2") == expected) << "more than the name changed";
    EXPECT_TRUE(c.readBytes(folder + "Figure.bak") == original) << "backup is not the original";
    // The repaired file is highlighted, and it is what the commands now act on.
    EXPECT_EQ(app->CurrentNode.get(), TreeModel::NodeOf(figure));
    EXPECT_EQ(Highlighted(), app->CurrentNode.get());
    EXPECT_TRUE(Cmd("Rename")->isEnabled());
}

}  // namespace
}  // namespace bw::test
