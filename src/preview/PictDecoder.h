#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "preview/FitSize.h"

namespace bw {

// A decoded picture: rows top to bottom, four bytes (R, G, B, A) a pixel.
struct RgbaPicture {
    PixelSize size;
    std::vector<uint8_t> rgba;
};

// Largest side a PICT thumbnail may claim before it is refused undecoded.
inline constexpr int kMaxPictSide = 4096;

// Decodes the data of a PICT resource (a picture without the 512-byte header of a PICT file),
// scaled by FitWithin to `box`; none when it is not a readable picture. Safe from any thread.
std::optional<RgbaPicture> DecodePictResource(std::string_view pict, PixelSize box);

}  // namespace bw
