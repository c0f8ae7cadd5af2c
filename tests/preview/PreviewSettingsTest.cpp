#include <gtest/gtest.h>

#include <optional>
#include <tuple>

#include "preview/FitSize.h"
#include "preview/PreviewSettings.h"
#include "support/TestDir.h"

namespace bw {
namespace {

using test::TestDir;

TEST(PreviewSettings, ReadsWhatIsUsableAndDefaultsTheRest) {
    // file (none: no file) -> settings
    const std::tuple<std::optional<std::string>, PreviewSettings> cases[] = {
        {std::nullopt, {true, kDefaultPreviewWidth}},
        {"[Colors]\r\nBackColor=1\r\n", {true, kDefaultPreviewWidth}},
        {"[Preview]\r\nVisible=False\r\nWidth=300\r\n", {false, 300}},
        {"[preview]\r\nvisible=0\r\nwidth= 333 \r\n", {false, 333}},
        {"[Preview]\r\nVisible=maybe\r\nWidth=wide\r\n", {true, kDefaultPreviewWidth}},
        {"[Preview]\r\nWidth=12\r\n", {true, kDefaultPreviewWidth}},
        {"[Preview]\r\nWidth=300px\r\n", {true, kDefaultPreviewWidth}},
        {"[Preview]\r\nWidth=99999999999999\r\n", {true, kDefaultPreviewWidth}},
    };
    for (const auto& [file, expected] : cases) {
        SCOPED_TRACE(file.value_or("(no file)"));
        TestDir dir;
        if (file) dir.createFile("s.ini", *file);
        EXPECT_EQ(ReadPreviewSettings(dir.host("s.ini")), expected);
    }
}

TEST(PreviewSettings, WritesItsOwnSectionAndReadsItBack) {
    TestDir dir;
    dir.createFile("s.ini", "[Colors]\r\nBackColor=1\r\n");
    WritePreviewSettings({false, 420}, dir.host("s.ini"));
    EXPECT_EQ(dir.readBytes("s.ini"),
              "[Colors]\r\nBackColor=1\r\n[Preview]\r\nVisible=False\r\nWidth=420\r\n");
    EXPECT_EQ(ReadPreviewSettings(dir.host("s.ini")), (PreviewSettings{false, 420}));
    WritePreviewSettings({true, 200}, dir.host("s.ini"));
    EXPECT_EQ(ReadPreviewSettings(dir.host("s.ini")), (PreviewSettings{true, 200}));
}

TEST(PreviewSettings, TheTreeKeepsAtLeastHalfTheWidth) {
    // wanted, total -> pane width
    const std::tuple<int, int, int> cases[] = {
        {260, 1000, 260}, {700, 1000, 500}, {50, 1000, kMinPreviewWidth},
        {260, 200, 100},  {260, 0, 0},
    };
    for (const auto& [wanted, total, width] : cases)
        EXPECT_EQ(PreviewWidthWithin(wanted, total), width) << wanted << " in " << total;
}

TEST(PreviewFit, ShrinksToTheBoxAndEnlargesAtMostTwice) {
    // picture, box -> shown
    const std::tuple<PixelSize, PixelSize, PixelSize> cases[] = {
        {{4096, 4096}, {512, 512}, {512, 512}}, {{1000, 500}, {300, 300}, {300, 150}},
        {{500, 1000}, {300, 300}, {150, 300}},  {{91, 91}, {400, 300}, {182, 182}},
        {{100, 50}, {150, 400}, {150, 75}},     {{10000, 1}, {100, 100}, {100, 1}},
        {{640, 480}, {0, 0}, {640, 480}},       {{0, 0}, {100, 100}, {0, 0}},
    };
    for (const auto& [picture, box, shown] : cases) {
        const PixelSize got = FitWithin(picture, box);
        EXPECT_EQ(got, shown) << picture.width << "x" << picture.height << " in " << box.width
                              << "x" << box.height << " gave " << got.width << "x" << got.height;
    }
}

}  // namespace
}  // namespace bw
