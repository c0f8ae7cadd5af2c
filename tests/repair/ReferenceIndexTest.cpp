#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <functional>

#include "repair/ReferenceIndex.h"
#include "repair/RepairWorld.h"
#include "repair/RuntimeFolderOf.h"
#include "support/ParamNames.h"

namespace bw::repair {
namespace {

using Files = std::vector<std::string>;

struct UsersCase {
    const char* what;
    const char* target;  // below the Runtime folder
    Files users;         // below Libraries
};

class UsersOfTest : public ::testing::TestWithParam<UsersCase> {};

TEST_P(UsersOfTest, FreshIndexNamesTheLibraryFiles) {
    fixture::RepairWorld world;
    world.Check();
    const auto index = ReferenceIndex::Load(world.runtime, world.cachePath, world.drives);
    ASSERT_EQ(index.state(), IndexState::Fresh);
    Files expected;
    for (const auto& f : GetParam().users) expected.push_back(world.At("Libraries/" + f));
    EXPECT_EQ(index.UsersOf(world.At(GetParam().target)), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Targets, UsersOfTest,
    ::testing::Values(
        UsersCase{"FileNamedInAnyCase",
                  "Textures/Skin/skin.jpg",
                  {"Pose/P/Pose.pz2", "Props/Prop.pp2", "character/A/Fig.cr2"}},
        UsersCase{"FileNamedThroughADrive", "Textures/Skin/skin_bump.jpg", {"Pose/P/Pose.pz2"}},
        UsersCase{"FolderHoldingUsedFiles",
                  "Textures/Skin/",
                  {"Pose/P/Pose.pz2", "Props/Prop.pp2", "character/A/Fig.cr2"}},
        UsersCase{"CandidateOfAMovedReference", "Textures/New/eyes.jpg", {"character/A/Fig.cr2"}},
        UsersCase{"OneOfAnAmbiguousReferencesCandidates", "Textures/B", {"Pose/P/Pose.pz2"}},
        UsersCase{"UnusedFile", "Textures/unused.png", {}},
        UsersCase{"FolderWhoseNameBeginsAUsedOne", "Textures/Ski", {}}),
    test::ByWhat);

struct StaleCase {
    const char* what;
    std::function<void(fixture::RepairWorld&)> change;
};

class StaleIndexTest : public ::testing::TestWithParam<StaleCase> {};

TEST_P(StaleIndexTest, AnswersNothing) {
    fixture::RepairWorld world;
    world.Check();
    GetParam().change(world);
    const auto index = ReferenceIndex::Load(world.runtime, world.cachePath, world.drives);
    EXPECT_EQ(index.state(), IndexState::Stale);
    EXPECT_EQ(index.UsersOf(world.At("Textures/Skin/skin.jpg")), std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(
    Changes, StaleIndexTest,
    ::testing::Values(StaleCase{"LibraryFileTouched",
                                [](fixture::RepairWorld& w) {
                                    const std::string path = w.At("Libraries/Props/Prop.pp2");
                                    const timespec times[2] = {{0, UTIME_OMIT}, {1000000000, 0}};
                                    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
                                }},
                      StaleCase{"LibraryFileAdded",
                                [](fixture::RepairWorld& w) {
                                    w.Library("Pose/New.pz2", "textureMap x.jpg\n");
                                }},
                      StaleCase{"LibraryFileRemoved",
                                [](fixture::RepairWorld& w) {
                                    std::filesystem::remove(w.At("Libraries/Props/Prop.pp2"));
                                }}),
    test::ByWhat);

TEST(ReferenceIndex, AbsentWithoutACheck) {
    fixture::RepairWorld world;
    EXPECT_EQ(ReferenceIndex::Load(world.runtime, world.cachePath, world.drives).state(),
              IndexState::Absent);
}

struct RuntimeCase {
    const char* what;
    const char* path;
    std::optional<std::string> runtime;
};

class RuntimeFolderOfTest : public ::testing::TestWithParam<RuntimeCase> {};

TEST_P(RuntimeFolderOfTest, NearestRuntimeHoldingLibraries) {
    test::TestDir d;
    d.createDir("Poser/Runtime/Libraries");
    d.createDir("Poser/Runtime/Textures/runtime/Skin");
    d.createDir("Other/RUNTIME/libraries");
    d.createDir("Loose/Runtime/Textures");
    const auto found = RuntimeFolderOf(d.host(GetParam().path));
    EXPECT_EQ(found,
              GetParam().runtime ? std::optional(d.host(*GetParam().runtime)) : std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, RuntimeFolderOfTest,
    ::testing::Values(RuntimeCase{"File", "Poser/Runtime/Textures/Skin/skin.jpg", "Poser/Runtime"},
                      RuntimeCase{"RuntimeWithoutLibrariesPassedOver",
                                  "Poser/Runtime/Textures/runtime/Skin", "Poser/Runtime"},
                      RuntimeCase{"AnyLetterCase", "Other/RUNTIME/libraries/x.cr2",
                                  "Other/RUNTIME"},
                      RuntimeCase{"TheRuntimeFolderItself", "Poser/Runtime", std::nullopt},
                      RuntimeCase{"NoLibraries", "Loose/Runtime/Textures/a.jpg", std::nullopt}),
    test::ByWhat);

}  // namespace
}  // namespace bw::repair
