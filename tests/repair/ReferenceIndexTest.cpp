#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <functional>

#include "repair/RepairWorld.h"
#include "repair/RuntimeFolderOf.h"
#include "support/ParamNames.h"

namespace bw::repair {
namespace {

using Files = std::vector<std::string>;

// target: below the Runtime folder; users: below Libraries.
struct UsersCase {
    const char *what, *target;
    Files users;
};

// clang-format off
const UsersCase kUsers[] = {
    {"FileNamedInAnyCase", "Textures/Skin/skin.jpg",
     {"Pose/P/Pose.pz2", "Props/Prop.pp2", "character/A/Fig.cr2"}},
    {"FileNamedThroughADrive", "Textures/Skin/skin_bump.jpg", {"Pose/P/Pose.pz2"}},
    {"FolderHoldingUsedFiles", "Textures/Skin/",
     {"Pose/P/Pose.pz2", "Props/Prop.pp2", "character/A/Fig.cr2"}},
    {"CandidateOfAMovedReference", "Textures/New/eyes.jpg", {"character/A/Fig.cr2"}},
    {"OneOfAnAmbiguousReferencesCandidates", "Textures/B", {"Pose/P/Pose.pz2"}},
    {"UnusedFile", "Textures/unused.png", {}},
    {"FolderWhoseNameBeginsAUsedOne", "Textures/Ski", {}},
};
// clang-format on

class UsersOfTest : public ::testing::TestWithParam<UsersCase> {};

TEST_P(UsersOfTest, FreshIndexNamesTheLibraryFiles) {
    fixture::RepairWorld world;
    world.Check();
    const auto index = world.Index();
    ASSERT_EQ(index.state(), IndexState::Fresh);
    Files expected;
    for (const auto& f : GetParam().users) expected.push_back(world.At("Libraries/" + f));
    EXPECT_EQ(index.UsersOf(world.At(GetParam().target)), expected);
}

INSTANTIATE_TEST_SUITE_P(Targets, UsersOfTest, ::testing::ValuesIn(kUsers), test::ByWhat);

struct StaleCase {
    const char* what;
    std::function<void(fixture::RepairWorld&)> change;
};

const StaleCase kStaleCases[] = {
    {"LibraryFileTouched",
     [](fixture::RepairWorld& w) {
         const timespec times[2] = {{0, UTIME_OMIT}, {1000000000, 0}};
         const std::string path = w.At("Libraries/Props/Prop.pp2");
         ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
     }},
    {"LibraryFileAdded",
     [](fixture::RepairWorld& w) { w.Library("Pose/New.pz2", "textureMap x.jpg\n"); }},
    {"LibraryFileRemoved",
     [](fixture::RepairWorld& w) { std::filesystem::remove(w.At("Libraries/Props/Prop.pp2")); }},
};

class StaleIndexTest : public ::testing::TestWithParam<StaleCase> {};

TEST_P(StaleIndexTest, AnswersNothing) {
    fixture::RepairWorld world;
    world.Check();
    GetParam().change(world);
    const auto index = world.Index();
    EXPECT_EQ(index.state(), IndexState::Stale);
    EXPECT_EQ(index.UsersOf(world.At("Textures/Skin/skin.jpg")), std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(Changes, StaleIndexTest, ::testing::ValuesIn(kStaleCases), test::ByWhat);

TEST(ReferenceIndex, AbsentWithoutACheck) {
    EXPECT_EQ(fixture::RepairWorld().Index().state(), IndexState::Absent);
}

struct RuntimeCase {
    const char *what, *path;
    std::optional<std::string> runtime;
};

const RuntimeCase kRuntimeCases[] = {
    {"File", "Poser/Runtime/Textures/Skin/skin.jpg", "Poser/Runtime"},
    {"RuntimeWithoutLibrariesPassedOver", "Poser/Runtime/Textures/runtime/Skin", "Poser/Runtime"},
    {"AnyLetterCase", "Other/RUNTIME/libraries/x.cr2", "Other/RUNTIME"},
    {"TheRuntimeFolderItself", "Poser/Runtime", std::nullopt},
    {"NoLibraries", "Loose/Runtime/Textures/a.jpg", std::nullopt},
};

class RuntimeFolderOfTest : public ::testing::TestWithParam<RuntimeCase> {};

TEST_P(RuntimeFolderOfTest, NearestRuntimeHoldingLibraries) {
    test::TestDir d;
    for (const char* f : {"Poser/Runtime/Libraries", "Poser/Runtime/Textures/runtime/Skin",
                          "Other/RUNTIME/libraries", "Loose/Runtime/Textures"})
        d.createDir(f);
    const auto& runtime = GetParam().runtime;
    EXPECT_EQ(RuntimeFolderOf(d.host(GetParam().path)),
              runtime ? std::optional(d.host(*runtime)) : std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(Paths, RuntimeFolderOfTest, ::testing::ValuesIn(kRuntimeCases),
                         test::ByWhat);

}  // namespace
}  // namespace bw::repair
