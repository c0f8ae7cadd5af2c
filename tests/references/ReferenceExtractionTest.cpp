#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "core/Classification.h"
#include "core/ReportError.h"
#include "platform/PlatformError.h"
#include "platform/Text.h"
#include "references/FillFileInfo.h"
#include "references/ReferenceExtraction.h"
#include "support/AppFixture.h"
#include "support/ParamNames.h"

namespace bw {
namespace {

constexpr const char* kPlaceholder =
    "(Click to scan for referencing files- this could take a few moments)|ScanForFile|255|";

// bytes: the library file's (nullptr: gone before it is read); nodes: each child's text, ";"
// between, or "text|tag|colour|tag of its own child" where a "|" is given; message: the error
// number reported.
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
    {"NoDotAndNumbersAreSkipped", "textureMap NO_MAP\nnumber 4.01\nx 0.3487\nv 5.5e1",
     kPlaceholder},
    {"CaseVariantIsDuplicate",
     "textureMap :Runtime:Textures:A.jpg\nbumpMap :RUNTIME:textures:a.JPG",
     ":Runtime:Textures:A.jpg"},
    {"PathInsideListedPathIsDuplicate",
     "textureMap :Runtime:Textures:Sample:skin.jpg\nbumpMap Sample:skin.jpg",
     ":Runtime:Textures:Sample:skin.jpg"},
    {"FirstDotDecides", "textureMap :Runtime:Textures:old.set:skin.jpg", kPlaceholder},
    {"PropInsideFolderName", "customMaterial :Runtime:Geometries:props:ball.obj", ":ball.obj"},
    {"ObjFileGeomBeforeProp", "objFileGeom 0 0 :Runtime:Geometries:props:ball.obj",
     ":Runtime:Geometries:props:ball.obj"},
    {"PathCarriesToLaterLines", "figureResFile \":a:b.obj\"\nname foo.cr2\ntextureMap :t:s.jpg",
     "\":a:b.obj\";:t:s.jpg"},
    // A candidate without references leaves out the placeholder. A cut right at the line's end
    // is allowed; one past it fails, keeping the nodes so far.
    {"CutRightAtTheLineEnd", "x.cr2 prop ", ""},
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
    const auto wanted = Split(tc.nodes, ';');
    std::vector<std::string> nodes, messages, expected;
    for (const auto& r : file->children()) {
        const bool full =
            nodes.size() < wanted.size() && wanted[nodes.size()].find('|') != std::string::npos;
        nodes.push_back(r->text() +
                        (full ? "|" + r->tag() + "|" + std::to_string(r->foreColor().value_or(0)) +
                                    "|" + (r->childCount() ? r->child(0)->tag() : "")
                              : ""));
    }
    for (const auto& m : desktop.systemMessages) messages.push_back(m.prompt);
    if (tc.message)
        expected = {
            GenericErrorText(tc.message, DescriptionOf(tc.message), "FillFileInfo: Figure.cr2")};
    EXPECT_EQ(nodes, wanted);
    EXPECT_EQ(messages, expected);
    EXPECT_FALSE(desktop.busy());
}

INSTANTIATE_TEST_SUITE_P(Files, FillFileInfoTest, ::testing::ValuesIn(kFillCases), test::ByWhat);

// A reference longer than any real path (a damaged or hostile file) is counted, not listed: a
// 20 MB line must neither freeze the window nor become a node, and the longest real path still
// lists.
TEST_F(FillFileInfoTest, OverLongReferencesAreCountedNotListed) {
    const std::string fits = ":T:" + std::string(kMaxReferenceLength - 7, 'f') + ".jpg";
    const std::string huge = ":T:" + std::string(20 << 20, 'h') + ".jpg";
    c.createFile("Poser4/Runtime/Libraries/character/Figure.cr2",
                 "textureMap " + fits + "\ntextureMap " + fits + "x\nbumpMap " + huge +
                     "\nname b.jpg\ntransparencyMap " + fits + "x\nbumpMap :T:b.bmp\n");
    Node* file = expandTo("C:\\Poser4\\Runtime\\Libraries\\character\\Figure.cr2");
    const auto start = std::chrono::steady_clock::now();
    FillFileInfo(*app, *file);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    std::vector<std::string> nodes;
    for (const auto& r : file->children()) nodes.push_back(r->text() + "|" + r->tag());
    EXPECT_EQ(nodes, (std::vector<std::string>{
                         fits + "|ReferencedFile", ":T:b.bmp|ReferencedFile",
                         "(2 references longer than 1024 characters were not listed.)|NotFound"}));
    EXPECT_TRUE(desktop.systemMessages.empty());
}

}  // namespace
}  // namespace bw
