#pragma once

namespace bw {

// Window measures are kept in twips: 15 to a pixel at 96 dots per inch.
inline constexpr int kTwipsPerPixel = 15;

}  // namespace bw
