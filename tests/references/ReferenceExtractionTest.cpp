#include <gtest/gtest.h>

#include <filesystem>

#include "app/ReportError.h"
#include "browser/Classification.h"
#include "browser/TreePopulation.h"
#include "platform/PlatformError.h"
#include "references/FillFileInfo.h"
#include "references/ReferenceExtraction.h"
#include "support/AppFixture.h"

namespace bw {
namespace {

struct LinesCase {
    const char* name;
    std::vector<std::string> lines;
    std::vector<std::string> references;
    int candidateLines;
};

std::vector<std::string> Read(const std::vector<std::string>& lines, int* candidates = nullptr) {
    ReferenceReader reader;
    std::vector<std::string> out;
    for (const auto& line : lines) {
        if (auto r = reader.ReadLine(line)) {
            out.push_back(*r);
            reader.CarryUnquoted();
        }
    }
    if (candidates) *candidates = reader.candidateLines();
    return out;
}

class ReferenceLines : public ::testing::TestWithParam<LinesCase> {};

TEST_P(ReferenceLines, ListsTheExpectedReferences) {
    int candidates = -1;
    EXPECT_EQ(Read(GetParam().lines, &candidates), GetParam().references);
    EXPECT_EQ(candidates, GetParam().candidateLines);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, ReferenceLines,
    ::testing::Values(
        LinesCase{"FigureLinesGiveOneGeometry",
                  {"figureResFile :Runtime:Geometries:Sample:foo.obj",
                   "\tobjFileGeom 0 0 :Runtime:Geometries:Sample:foo.obj"},
                  {":Runtime:Geometries:Sample:foo.obj"},
                  2},
        LinesCase{"MapLineWithIndentation",
                  {"\t\t\ttextureMap :Runtime:Textures:Sample:skin.jpg"},
                  {":Runtime:Textures:Sample:skin.jpg"},
                  1},
        LinesCase{"NoDotAndNumbersAreSkipped",
                  {"textureMap NO_MAP", "number 4.01", "x 0.3487", "v 5.5e1"},
                  {},
                  0},
        LinesCase{"QuotesKept",
                  {"figureResFile \":Runtime:Geometries:foo.obj\""},
                  {"\":Runtime:Geometries:foo.obj\""},
                  1},
        LinesCase{"CaseVariantIsDuplicate",
                  {"textureMap :Runtime:Textures:A.jpg", "bumpMap :RUNTIME:textures:a.JPG"},
                  {":Runtime:Textures:A.jpg"},
                  2},
        LinesCase{"PathInsideListedPathIsDuplicate",
                  {"textureMap :Runtime:Textures:Sample:skin.jpg", "bumpMap Sample:skin.jpg"},
                  {":Runtime:Textures:Sample:skin.jpg"},
                  2},
        LinesCase{"FirstDotDecides", {"textureMap :Runtime:Textures:old.set:skin.jpg"}, {}, 0},
        LinesCase{"PropInsideFolderName",
                  {"customMaterial :Runtime:Geometries:props:ball.obj"},
                  {":ball.obj"},
                  1},
        LinesCase{"ObjFileGeomBeforeProp",
                  {"objFileGeom 0 0 :Runtime:Geometries:props:ball.obj"},
                  {":Runtime:Geometries:props:ball.obj"},
                  1},
        LinesCase{"CandidateWithoutKeyword", {"name foo.cr2"}, {}, 1},
        LinesCase{"PathCarriesToLaterLines",
                  {"figureResFile \":a:b.obj\"", "name foo.cr2", "textureMap :t:s.jpg"},
                  {"\":a:b.obj\"", ":t:s.jpg"},
                  3},
        LinesCase{"ShortCandidatesInsideTheList", {"a.cr", "b.2,c", "c.,", "d."}, {}, 2},
        LinesCase{"CandidateInBothLists", {"textureMap :a:b.p"}, {":a:b.p"}, 1},
        LinesCase{"TextAfterTheName",
                  {"textureMap :Runtime:Textures:skin.jpg 1"},
                  {":Runtime:Textures:skin.jpg 1"},
                  1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ReferenceReader, CutBeyondTheLineEndFails) {
    ReferenceReader reader;
    try {
        reader.ReadLine("x.cr2 prop");
        FAIL() << "no failure";
    } catch (const PlatformError& e) {
        EXPECT_EQ(e.number(), err::kInvalidCall);
    }
    EXPECT_FALSE(ReferenceReader().ReadLine("x.cr2 prop "));  // the cut begins right at the end
}

class FillFileInfoTest : public test::AppFixture {
  protected:
    Node* figure(const std::string& bytes, const std::string& name = "Figure.cr2") {
        c.createFile("Poser4/Runtime/Libraries/character/" + name, bytes);
        return expandTo("C:\\Poser4\\Runtime\\Libraries\\character\\" + name);
    }
};

TEST_F(FillFileInfoTest, ReferenceNodes) {
    // Lines ending in CR LF, a lone CR (Macintosh) and LF.
    Node* file = figure(
        "{\r\nfigureResFile \":Runtime:Geometries:foo.obj\"\r\ttextureMap :T:skin.jpg 1\n"
        "\tbumpMap :T:bump.bmp\r\n}\r\n");
    ASSERT_TRUE(file);
    FillFileInfo(*app, *file);
    ASSERT_EQ(file->childCount(), 3u);
    const std::vector<std::pair<std::string, int32_t>> expected = {
        {"\":Runtime:Geometries:foo.obj\"", app->settings.PoserFileColor},
        {":T:skin.jpg 1", app->settings.OtherFileColor},
        {":T:bump.bmp", app->settings.ImageFileColor}};
    for (size_t i = 0; i < expected.size(); ++i) {
        Node* r = file->child(i);
        EXPECT_EQ(r->text(), expected[i].first);
        EXPECT_EQ(r->key(), file->key() + "_" + expected[i].first + std::to_string(r->index()));
        EXPECT_EQ(r->tag(), tag::kReferencedFile);
        EXPECT_EQ(r->image(), "Properties");
        EXPECT_EQ(r->expandedImage(), "Properties");
        EXPECT_EQ(r->foreColor(), expected[i].second);
        // Only references ending in a Poser or image extension can be located.
        ASSERT_EQ(r->childCount(), i == 1 ? 0u : 1u);
        if (r->childCount()) {
            EXPECT_EQ(r->child(0)->tag(), tag::kScan);
        }
    }
    EXPECT_FALSE(desktop.busy());
}

TEST_F(FillFileInfoTest, PlaceholderBackOnlyWithoutCandidateLines) {
    Node* none = figure("version 4.01\nname Figure\n", "None.cr2");
    FillFileInfo(*app, *none);
    ASSERT_EQ(none->childCount(), 1u);
    EXPECT_EQ(none->child(0)->tag(), tag::kScanForFile);

    Node* empty = figure("name foo.cr2\n", "Empty.cr2");
    FillFileInfo(*app, *empty);
    EXPECT_EQ(empty->childCount(), 0u);
}

TEST_F(FillFileInfoTest, FailureKeepsTheNodesSoFarAndIsReported) {
    Node* file = figure("textureMap :T:a.jpg\nx.cr2 prop\ntextureMap :T:b.jpg\n");
    FillFileInfo(*app, *file);
    ASSERT_EQ(file->childCount(), 1u);
    ASSERT_EQ(desktop.systemMessages.size(), 1u);
    EXPECT_EQ(desktop.systemMessages[0].prompt,
              GenericErrorText(5, DescriptionOf(5), "FillFileInfo: Figure.cr2"));
    EXPECT_FALSE(desktop.busy());

    Node* gone = figure("", "Gone.cr2");
    std::filesystem::remove(onC("Poser4/Runtime/Libraries/character/Gone.cr2"));
    FillFileInfo(*app, *gone);
    ASSERT_EQ(desktop.systemMessages.size(), 2u);
    EXPECT_EQ(desktop.systemMessages[1].prompt,
              GenericErrorText(53, DescriptionOf(53), "FillFileInfo: Gone.cr2"));
}

}  // namespace
}  // namespace bw
