#include <gtest/gtest.h>

#include <cstring>

#include "check/LibraryReferenceParser.h"
#include "platform/Text.h"
#include "support/ParamNames.h"

namespace bw::check {
namespace {

std::vector<std::string> Texts(const std::vector<ExtractedReference>& refs) {
    std::vector<std::string> out;
    for (const auto& r : refs)
        out.push_back(std::to_string(r.line) + " " + std::string(KeywordName(r.keyword)) + " " +
                      r.path);
    return out;
}

struct ParseCase {
    const char* what;
    std::string bytes;
    std::vector<std::string> expected;  // "line keyword path"
};

class ParseLines : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseLines, FindsTheReferencesWithTheirLines) {
    EXPECT_EQ(Texts(LibraryReferenceParser::Parse(GetParam().bytes)), GetParam().expected);
}

// clang-format off
const ParseCase kKeywordCases[] = {
    {"FigureResFile", "{\nfigureResFile :Runtime:Geometries:a:b.obj\n",
     {"2 figureResFile :Runtime:Geometries:a:b.obj"}},
    {"ObjFileGeomSkipsItsTwoNumbers", "\tobjFileGeom 0 0 :Runtime:Geometries:b.obj\r\n",
     {"1 objFileGeom :Runtime:Geometries:b.obj"}},
    {"ObjFileOfAnAlternateGeometrySkipsOneNumber",
     "alternateGeom hip_2\n\t{\n\tobjFile 1204 :Runtime:Geometries:c.obj\n\t}\n",
     {"3 objFile :Runtime:Geometries:c.obj"}},
    {"QuotedPathKeepsItsSpacesLosesItsQuotes",
     "readScript \":Runtime:Libraries:Pose:Skin Tan.pz2\"\n",
     {"1 readScript :Runtime:Libraries:Pose:Skin Tan.pz2"}},
    {"UnquotedWindowsPathToTheLineEnd", "\t\ttextureMap C:\\Program Files\\Poser 4\\t.jpg \t\r\n",
     {"1 textureMap C:\\Program Files\\Poser 4\\t.jpg"}},
    {"FourMapsAndNoMap",
     "textureMap a.jpg\nbumpMap NO_MAP\nreflectionMap \"r.jpg\"\ntransparencyMap t.jpg",
     {"1 textureMap a.jpg", "3 reflectionMap r.jpg", "4 transparencyMap t.jpg"}},
    {"MaterialNodeFileInput",
     "nodeInput \"Image_Source\"\n\t{\n\tfile \":Runtime:Textures:n.jpg\"\n\tfile NO_MAP\n",
     {"3 file :Runtime:Textures:n.jpg"}},
    {"MorphFiles",
     "morphBinaryFile :Runtime:Libraries:Character:m.pmd\n"
     "injectPMDFileMorphs :Runtime:Libraries:Pose:i.pmd\n",
     {"1 morphBinaryFile :Runtime:Libraries:Character:m.pmd",
      "2 injectPMDFileMorphs :Runtime:Libraries:Pose:i.pmd"}},
    {"HairCacheNoneNamesNoFile",
     "hairCacheFile _NONE_\nhairCacheFile :Runtime:Libraries:Hair:h.dyn\n",
     {"2 hairCacheFile :Runtime:Libraries:Hair:h.dyn"}},
    {"ResourceValueIsKeptForTheResolver", "figureResFile GetStringRes(1024,1)\n",
     {"1 figureResFile GetStringRes(1024,1)"}},
    {"UnclosedQuoteRunsToTheLineEnd", "textureMap \"abc.jpg\n", {"1 textureMap abc.jpg"}},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Keywords, ParseLines, ::testing::ValuesIn(kKeywordCases), test::ByWhat);

INSTANTIATE_TEST_SUITE_P(
    NotReferences, ParseLines,
    ::testing::Values(
        ParseCase{"KeywordInsideTheLine", "name textureMap x.jpg\nprop file y.obj\n", {}},
        ParseCase{
            "KeywordInsideAWord", "mytextureMap x.jpg\ntextureMapX x.jpg\nprofile p.jpg\n", {}},
        ParseCase{"KeywordInOtherCase", "TextureMap x.jpg\nFILE y.jpg\n", {}},
        ParseCase{"NoValue", "textureMap\ntextureMap   \ntextureMap \"\"\n", {}},
        ParseCase{"KeywordGluedToItsValue", "textureMap\"x.jpg\"\n", {}}),
    test::ByWhat);

INSTANTIATE_TEST_SUITE_P(
    LineEnds, ParseLines,
    ::testing::Values(
        ParseCase{"LoneCr", "a\rb\rtextureMap x.jpg\r", {"3 textureMap x.jpg"}},
        ParseCase{"CrLf", "a\r\n\r\nbumpMap y.jpg\r\n", {"3 bumpMap y.jpg"}},
        ParseCase{"MixedAndNoFinalEnd", "a\n\rb\r\n\ntextureMap z.jpg", {"5 textureMap z.jpg"}}),
    test::ByWhat);

// However the bytes are cut into blocks, the lines come out as a line splitter counts them.
struct BlockCase {
    const char* what;
    const char* lineEnd;
    size_t chunk;
};

class ParseInBlocks : public ::testing::TestWithParam<BlockCase> {};

TEST_P(ParseInBlocks, AgreesWithTheLineSplitter) {
    std::string bytes;
    for (int i = 0; i < 3000; ++i) {
        bytes += (i % 7 == 3) ? "\t\ttextureMap :Runtime:Textures:t" + std::to_string(i) + ".jpg"
                              : "\t\tk  0  " + std::to_string(i * 0.37);
        bytes += GetParam().lineEnd;
    }
    std::vector<std::string> expected;
    const auto lines = SplitLines(bytes);
    for (size_t i = 0; i < lines.size(); ++i)
        if (const auto at = lines[i].find("textureMap "); at != std::string_view::npos)
            expected.push_back(std::to_string(i + 1) + " textureMap " +
                               std::string(lines[i].substr(at + 11)));

    LibraryReferenceParser parser;
    for (size_t at = 0; at < bytes.size();) {
        const auto space = parser.Space();
        const size_t n = std::min({space.size(), GetParam().chunk, bytes.size() - at});
        std::memcpy(space.data(), bytes.data() + at, n);
        parser.Commit(n);
        at += n;
    }
    parser.Finish();
    EXPECT_EQ(Texts(parser.references()), expected);
}

INSTANTIATE_TEST_SUITE_P(Chunks, ParseInBlocks,
                         ::testing::Values(BlockCase{"CrLfByteByByte", "\r\n", 1},
                                           BlockCase{"CrLfInOddBlocks", "\r\n", 4093},
                                           BlockCase{"LoneCrByteByByte", "\r", 1},
                                           BlockCase{"LfInOddBlocks", "\n", 777},
                                           BlockCase{"CrLfWhole", "\r\n", 1 << 30}),
                         test::ByWhat);

TEST(LibraryReferenceParser, ALineLongerThanTheLimitIsReadInPartsAndCountedOnce) {
    std::string bytes = "textureMap a.jpg\n";
    std::string longLine(2 * LibraryReferenceParser::kMaxLine + 100, 'x');
    // Keywords inside the long line, wherever its parts begin, name nothing.
    for (size_t at = 1000; at + 20 < longLine.size(); at += LibraryReferenceParser::kBlockSize / 3)
        longLine.replace(at, 14, "bumpMap c.jpg ");
    bytes += longLine + "\r\nbumpMap b.jpg\n";
    EXPECT_EQ(Texts(LibraryReferenceParser::Parse(bytes)),
              (std::vector<std::string>{"1 textureMap a.jpg", "3 bumpMap b.jpg"}));
}

}  // namespace
}  // namespace bw::check
