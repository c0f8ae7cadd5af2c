#include <gtest/gtest.h>

#include "platform/PlatformError.h"
#include "repair/MovePlan.h"
#include "repair/RepairWorld.h"
#include "support/ParamNames.h"

namespace bw::repair {
namespace {

// from, to: below the Runtime folder; changes: "library file below Libraries:line old -> new".
struct MoveCase {
    const char *what, *from, *to;
    std::vector<std::string> changes;
    size_t files;
};

// clang-format off
const std::string kBump = "Pose/P/Pose.pz2:2 C:\\Poser4\\Runtime\\Textures\\Skin\\skin_bump.jpg";
const std::string kBodyFace = " -> :Runtime:Textures:Body:Face:";
const MoveCase kMoves[] = {
    {"FolderWithSeveralUsers", "Textures/Skin", "Textures/Body/Face",
     {kBump + kBodyFace + "skin_bump.jpg",
      "Pose/P/Pose.pz2:4 :Runtime:Textures:Skin:skin.jpg" + kBodyFace + "skin.jpg",
      "Props/Prop.pp2:1 :runtime:textures:skin:skin.jpg" + kBodyFace + "skin.jpg",
      "character/A/Fig.cr2:3 :Runtime:Textures:SKIN:SKIN.JPG" + kBodyFace + "SKIN.JPG"}, 3},
    {"SingleFile", "Geometries/G/fig.obj", "Geometries/fig.obj",
     {"character/A/Fig.cr2:2 :Runtime:Geometries:G:fig.obj -> :Runtime:Geometries:fig.obj"}, 1},
    {"FileRenamedInItsFolder", "Textures/Skin/skin_bump.jpg", "Textures/Skin/bump.jpg",
     {kBump + " -> :Runtime:Textures:Skin:bump.jpg"}, 1},
    // The moved reference only found the file by name; its repair decides.
    {"CandidateOfAMovedReference", "Textures/New", "Textures/Newer", {}, 0},
    {"LetterCaseAlone", "Textures/Skin", "Textures/SKIN", {}, 0},
};
// clang-format on

class MovePlanTest : public ::testing::TestWithParam<MoveCase> {};

TEST_P(MovePlanTest, RewritesWhatNamedTheMovedFiles) {
    fixture::RepairWorld world;
    world.Check();
    const auto plan =
        PlanMoveRewrite(world.Index(), world.At(GetParam().from), world.At(GetParam().to));
    ASSERT_TRUE(plan);
    std::vector<std::string> changes;
    for (const auto& c : plan->changes)
        changes.push_back(c.file.substr(world.At("Libraries/").size()) + ":" +
                          std::to_string(c.line) + " " + c.oldReference + " -> " + c.newReference);
    EXPECT_EQ(changes, GetParam().changes);
    EXPECT_EQ(plan->fileCount, GetParam().files);
}

INSTANTIATE_TEST_SUITE_P(Moves, MovePlanTest, ::testing::ValuesIn(kMoves), test::ByWhat);

TEST(MovePlan, RefusesANameAReferenceCannotCarry) {
    fixture::RepairWorld world;
    world.Check();
    for (const std::string& to :
         {world.At("Textures/a:b"), world.At("Textures/two\nlines"), world.c.host("Elsewhere")})
        EXPECT_THROW(PlanMoveRewrite(world.Index(), world.At("Textures/Skin"), to), PlatformError)
            << to;
}

}  // namespace
}  // namespace bw::repair
