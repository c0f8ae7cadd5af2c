#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <vector>

#include "preview/PictDecoder.h"
#include "preview/ResourceFork.h"
#include "support/ParamNames.h"
#include "support/ResourceForkWriter.h"

namespace bw {
namespace {

using test::MakeResourceFork;
using test::PutBigEndian;
using test::Resource;

struct ForkCase {
    const char* what;
    std::vector<Resource> resources;
    // Damage done to the written fork: a big-endian field overwritten, then the end cut off.
    size_t field = 0, fieldSize = 0;
    uint32_t value = 0;
    size_t cut = 0;
    std::optional<std::string> pict;
};

void PrintTo(const ForkCase& c, std::ostream* os) { *os << c.what; }

class FindPict : public ::testing::TestWithParam<ForkCase> {};

TEST_P(FindPict, GivesTheFirstPictOrNoneForAnythingAmiss) {
    const ForkCase& c = GetParam();
    std::string fork = c.resources.empty() ? std::string(300, 'x') : MakeResourceFork(c.resources);
    if (c.fieldSize) PutBigEndian(fork, c.field, c.value, static_cast<int>(c.fieldSize));
    fork.resize(fork.size() - c.cut);
    EXPECT_EQ(FindResource(fork, "PICT"), c.pict);
}

// Written with an icon and a picture, the data (from 256) holds "icon" and "pic", each after a
// length word. Fields: the header's data length (8), the picture's length word (264), the map's
// type list offset (256 + 15 + 24).
const std::vector<Resource> kTwo = {{"ICN#", 128, "icon"}, {"PICT", 128, "pic"}};

// clang-format off
const ForkCase kForks[] = {
    {"OnlyPict", {{"PICT", 128, "abc"}}, 0, 0, 0, 0, "abc"},
    {"PictAfterAnotherType", kTwo, 0, 0, 0, 0, "pic"},
    {"FirstOfTwoPicts", {{"PICT", 128, "one"}, {"PICT", 129, "two"}}, 0, 0, 0, 0, "one"},
    {"EmptyPict", {{"PICT", 128, ""}}, 0, 0, 0, 0, ""},
    {"NoPict", {{"ICN#", 128, "icon"}}, 0, 0, 0, 0, std::nullopt},
    {"NotAFork", {}, 0, 0, 0, 0, std::nullopt},
    {"HeaderOnly", kTwo, 0, 0, 0, 15 + 240 + 28 + 2 + 16 + 24, std::nullopt},
    {"MapCutShort", kTwo, 0, 0, 0, 10, std::nullopt},
    {"DataLengthPastTheEnd", kTwo, 8, 4, 0xfffffff0, 0, std::nullopt},
    {"ResourceLongerThanTheData", kTwo, 264, 4, 0x7fffffff, 0, std::nullopt},
    {"TypeListOffsetPastTheEnd", kTwo, 256 + 15 + 24, 2, 0xfff0, 0, std::nullopt},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Forks, FindPict, ::testing::ValuesIn(kForks), test::ByWhat);

// The pixel's colour when every channel is within a few steps of `rgb` (scaling blends edges a
// little), else the pixel's own colour, so a failure shows it.
uint32_t RgbNear(const RgbaPicture& p, int x, int y, uint32_t rgb) {
    const uint8_t* px = p.rgba.data() + (static_cast<size_t>(y) * p.size.width + x) * 4;
    bool near = true;
    for (int c = 0; c < 3; ++c)
        near &= std::abs(px[c] - static_cast<int>(rgb >> (16 - 8 * c) & 0xff)) <= 8;
    return near ? rgb : uint32_t{px[0]} << 16 | uint32_t{px[1]} << 8 | px[2];
}

TEST(PictDecoder, DecodesTheThumbnailOfAForkToItsPixels) {
    const auto pict = FindResource(MakeResourceFork({{"PICT", 128, test::QuadrantPict()}}), "PICT");
    ASSERT_TRUE(pict);
    // box -> size (square); each quadrant's colour is probed well inside it
    const std::pair<PixelSize, int> cases[] = {{{16, 16}, 16}, {{200, 200}, 32}, {{8, 100}, 8}};
    for (const auto& [box, side] : cases) {
        SCOPED_TRACE(box.width);
        const auto decoded = DecodePictResource(*pict, box);
        ASSERT_TRUE(decoded);
        EXPECT_EQ(decoded->size, (PixelSize{side, side}));
        ASSERT_EQ(decoded->rgba.size(), static_cast<size_t>(side) * side * 4);
        const int in = side * 3 / 16, out = side - 1 - in;
        const std::tuple<int, int, uint32_t> probes[] = {
            {in, in, 0xff0000}, {out, in, 0x00ff00}, {in, out, 0x0000ff}, {out, out, 0xffffff}};
        for (const auto& [x, y, rgb] : probes)
            EXPECT_EQ(RgbNear(*decoded, x, y, rgb), rgb) << x << "," << y;
    }
}

TEST(PictDecoder, RefusesWhatIsNoPicture) {
    std::string huge = test::QuadrantPict();
    PutBigEndian(huge, 6, 0x7000, 2);  // frame bottom: a 28,672-row picture
    std::string garbage = test::QuadrantPict().substr(0, 10) + std::string(100, '\x55');
    for (const std::string& bytes : {std::string(), std::string("\x02\x00", 2), huge, garbage}) {
        EXPECT_FALSE(DecodePictResource(bytes, {64, 64})) << bytes.size();
    }
}

}  // namespace
}  // namespace bw
