#include <gtest/gtest.h>

#include <filesystem>

#include "app/ReportError.h"
#include "browser/Classification.h"
#include "platform/PlatformError.h"
#include "platform/Text.h"
#include "references/FillFileInfo.h"
#include "references/ReferenceExtraction.h"
#include "support/AppFixture.h"

namespace bw {
namespace {

// lines and references: "\n" between.
struct LinesCase {
    const char *what, *lines, *references;
    int candidateLines;
};

const LinesCase kLinesCases[] = {
    {"FigureLinesGiveOneGeometry",
     "figureResFile :Runtime:Geometries:Sample:foo.obj\n"
     "\tobjFileGeom 0 0 :Runtime:Geometries:Sample:foo.obj",
     ":Runtime:Geometries:Sample:foo.obj", 2},
    {"MapLineWithIndentation", "\t\t\ttextureMap :Runtime:Textures:Sample:skin.jpg",
     ":Runtime:Textures:Sample:skin.jpg", 1},
    {"NoDotAndNumbersAreSkipped", "textureMap NO_MAP\nnumber 4.01\nx 0.3487\nv 5.5e1", "", 0},
    {"QuotesKept", "figureResFile \":Runtime:Geometries:foo.obj\"",
     "\":Runtime:Geometries:foo.obj\"", 1},
    {"CaseVariantIsDuplicate",
     "textureMap :Runtime:Textures:A.jpg\nbumpMap :RUNTIME:textures:a.JPG",
     ":Runtime:Textures:A.jpg", 2},
    {"PathInsideListedPathIsDuplicate",
     "textureMap :Runtime:Textures:Sample:skin.jpg\nbumpMap Sample:skin.jpg",
     ":Runtime:Textures:Sample:skin.jpg", 2},
    {"FirstDotDecides", "textureMap :Runtime:Textures:old.set:skin.jpg", "", 0},
    {"PropInsideFolderName", "customMaterial :Runtime:Geometries:props:ball.obj", ":ball.obj", 1},
    {"ObjFileGeomBeforeProp", "objFileGeom 0 0 :Runtime:Geometries:props:ball.obj",
     ":Runtime:Geometries:props:ball.obj", 1},
    {"CandidateWithoutKeyword", "name foo.cr2", "", 1},
    {"PathCarriesToLaterLines", "figureResFile \":a:b.obj\"\nname foo.cr2\ntextureMap :t:s.jpg",
     "\":a:b.obj\"\n:t:s.jpg", 3},
    {"ShortCandidatesInsideTheList", "a.cr\nb.2,c\nc.,\nd.", "", 2},
    {"CandidateInBothLists", "textureMap :a:b.p", ":a:b.p", 1},
    {"TextAfterTheName", "textureMap :Runtime:Textures:skin.jpg 1", ":Runtime:Textures:skin.jpg 1",
     1},
};

class ReferenceLines : public ::testing::TestWithParam<LinesCase> {};

TEST_P(ReferenceLines, ListsTheExpectedReferences) {
    ReferenceReader reader;
    std::vector<std::string> found;
    for (const auto& line : Split(GetParam().lines, '\n')) {
        if (auto r = reader.ReadLine(line)) {
            found.push_back(*r);
            reader.CarryUnquoted();
        }
    }
    EXPECT_EQ(found, Split(GetParam().references, '\n'));
    EXPECT_EQ(reader.candidateLines(), GetParam().candidateLines);
}

INSTANTIATE_TEST_SUITE_P(Rules, ReferenceLines, ::testing::ValuesIn(kLinesCases),
                         [](const auto& info) { return std::string(info.param.what); });

// A cut beginning past the line's end fails, as the string functions of old did; one beginning
// right at the end does not.
TEST(ReferenceReader, CutBeyondTheLineEndFails) {
    try {
        ReferenceReader().ReadLine("x.cr2 prop");
        ADD_FAILURE() << "no failure";
    } catch (const PlatformError& e) {
        EXPECT_EQ(e.number(), err::kInvalidCall);
    }
    EXPECT_FALSE(ReferenceReader().ReadLine("x.cr2 prop "));
}

// bytes: the library file's (nullptr: gone before it is read); nodes: each child as
// "text|tag|colour|tag of its own child", ";" between; message: the error number reported.
struct FillCase {
    const char *what, *bytes, *nodes;
    int message = 0;
};

const FillCase kFillCases[] = {
    {"CrLfCrAndLfLines",
     "{\r\nfigureResFile \":Runtime:Geometries:foo.obj\"\r\ttextureMap :T:skin.jpg 1\n"
     "\tbumpMap :T:bump.bmp\r\n}\r\n",
     "\":Runtime:Geometries:foo.obj\"|ReferencedFile|64|Scan;:T:skin.jpg 1|ReferencedFile|8421504|;"
     ":T:bump.bmp|ReferencedFile|16384|Scan"},
    {"NoCandidateLinesGivesThePlaceholderBack", "version 4.01\nname Figure\n",
     "(Click to scan for referencing files- this could take a few moments)|ScanForFile|255|"},
    {"CandidatesWithoutReferences", "name foo.cr2\n", ""},
    {"FailureKeepsTheNodesSoFar", "textureMap :T:a.jpg\nx.cr2 prop\ntextureMap :T:b.jpg\n",
     ":T:a.jpg|ReferencedFile|16384|Scan", err::kInvalidCall},
    {"FileGone", nullptr, "", err::kFileNotFound},
};

class FillFileInfoTest : public test::AppFixture, public ::testing::WithParamInterface<FillCase> {};

TEST_P(FillFileInfoTest, ReferenceNodes) {
    const FillCase& tc = GetParam();
    const std::string host =
        c.createFile("Poser4/Runtime/Libraries/character/Figure.cr2", tc.bytes ? tc.bytes : "");
    Node* file = expandTo("C:\\Poser4\\Runtime\\Libraries\\character\\Figure.cr2");
    if (!tc.bytes) std::filesystem::remove(host);
    FillFileInfo(*app, *file);
    std::vector<std::string> nodes, messages, expected;
    for (const auto& r : file->children())
        nodes.push_back(r->text() + "|" + r->tag() + "|" +
                        std::to_string(r->foreColor().value_or(0)) + "|" +
                        (r->childCount() ? r->child(0)->tag() : ""));
    for (const auto& m : desktop.systemMessages) messages.push_back(m.prompt);
    if (tc.message)
        expected = {
            GenericErrorText(tc.message, DescriptionOf(tc.message), "FillFileInfo: Figure.cr2")};
    EXPECT_EQ(nodes, Split(tc.nodes, ';'));
    EXPECT_EQ(messages, expected);
    EXPECT_FALSE(desktop.busy());
}

INSTANTIATE_TEST_SUITE_P(Files, FillFileInfoTest, ::testing::ValuesIn(kFillCases),
                         [](const auto& info) { return std::string(info.param.what); });

}  // namespace
}  // namespace bw
