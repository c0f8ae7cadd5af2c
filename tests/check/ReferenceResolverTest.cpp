#include <gtest/gtest.h>

#include "check/ReferenceResolver.h"
#include "support/ParamNames.h"
#include "support/TestDir.h"

namespace bw::check {
namespace {

// C: holds Poser4\Runtime with textures in several folders, a geometry lying among the textures
// and a file beside the Runtime folder.
class ResolverWorld {
  public:
    ResolverWorld() {
        for (const char* f :
             {"Poser4/Runtime/Textures/Skin/skin.jpg", "Poser4/Runtime/Textures/New/eyes.jpg",
              "Poser4/Runtime/Textures/A/chrome.jpg", "Poser4/Runtime/Textures/B/Chrome.JPG",
              "Poser4/Runtime/Textures/Stray/lost.obj", "Poser4/Runtime/Geometries/G/fig.obj",
              "Poser4/Runtime/Libraries/character/Set/Fig.cr2", "Poser4/Extras/notes.pz2"})
            c.createFile(f);
        index = std::make_unique<RuntimeIndex>(RuntimeIndex::Build(c.host("Poser4/Runtime")));
    }
    test::TestDir c;
    std::unique_ptr<RuntimeIndex> index;
    DriveMap drives = DriveMap::FromDrives({{"C:", c.path()}});
};

struct ResolveCase {
    const char *what, *reference;
    RefStatus status;
    std::vector<std::string> candidates;  // below Poser4/Runtime
};

class Resolve : public ::testing::TestWithParam<ResolveCase> {};

TEST_P(Resolve, StatusAndCandidates) {
    ResolverWorld world;
    ReferenceResolver resolver(*world.index, world.drives);
    // Asked twice: the remembered answer is the same.
    for (int round = 0; round < 2; ++round) {
        const Resolution r = resolver.Resolve(GetParam().reference);
        EXPECT_EQ(StatusName(r.status), StatusName(GetParam().status));
        std::vector<std::string> expected;
        for (const auto& c : GetParam().candidates)
            expected.push_back(world.c.host("Poser4/Runtime/" + c));
        EXPECT_EQ(r.candidates, expected);
    }
}

// clang-format off
const ResolveCase kResolveCases[] = {
    {"MacPathWhereItSays", ":Runtime:Textures:Skin:skin.jpg", RefStatus::Ok, {}},
    {"OnlyLetterCaseDiffers", ":runtime:TEXTURES:skin:Skin.JPG", RefStatus::Ok, {}},
    {"DotDotAndEmptyParts", ":Runtime::Textures:Old:..:Skin:skin.jpg", RefStatus::Ok, {}},
    {"MovedToOneFolder", ":Runtime:Textures:Old:eyes.jpg", RefStatus::Moved,
     {"Textures/New/eyes.jpg"}},
    {"SeveralCandidatesAreAmbiguous", ":Runtime:Textures:Old:chrome.jpg", RefStatus::Ambiguous,
     {"Textures/A/chrome.jpg", "Textures/B/Chrome.JPG"}},
    {"Nowhere", ":Runtime:Textures:Old:none.jpg", RefStatus::Missing, {}},
    {"GeometryOutsideGeometriesIsMissing", ":Runtime:Geometries:Old:lost.obj", RefStatus::Missing,
     {}},
    {"UpperCaseObjIsLookedForEverywhere", ":Runtime:Geometries:Old:lost.OBJ", RefStatus::Moved,
     {"Textures/Stray/lost.obj"}},
    {"FigureLookedForUnderCharacter", ":Runtime:Libraries:Old:fig.cr2", RefStatus::Moved,
     {"Libraries/character/Set/Fig.cr2"}},
    {"WindowsPathThroughTheDriveMap", "C:\\poser4\\Runtime\\Textures\\Skin\\skin.jpg",
     RefStatus::Ok, {}},
    {"WindowsPathOnAnUnknownDrive", "Q:\\Poser\\Runtime\\Textures\\eyes.jpg", RefStatus::Moved,
     {"Textures/New/eyes.jpg"}},
    {"MacPathBesideTheRuntimeFolder", ":EXTRAS:Notes.pz2", RefStatus::Ok, {}},
    {"ProgramResource", "GetStringRes(1024,2)", RefStatus::Internal, {}},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(References, Resolve, ::testing::ValuesIn(kResolveCases), test::ByWhat);

TEST(SearchFolderFor, ByTheLastThreeCharacters) {
    // clang-format off
    const std::pair<const char*, const char*> rows[] = {
        {":a.obj", "Geometries"}, {":a.cr2", "Libraries/character"}, {":a.JPG", "Textures"},
        {":a.pz2", ""}, {":a.OBJ", ""},
    };
    // clang-format on
    for (const auto& [reference, folder] : rows)
        EXPECT_EQ(SearchFolderFor(reference), folder) << reference;
}

}  // namespace
}  // namespace bw::check
