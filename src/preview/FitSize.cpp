#include "preview/FitSize.h"

#include <algorithm>
#include <cmath>

namespace bw {

PixelSize FitWithin(PixelSize picture, PixelSize box, double maxEnlargement) {
    if (picture.width <= 0 || picture.height <= 0 || box.width <= 0 || box.height <= 0)
        return picture;
    const double scale =
        std::min({static_cast<double>(box.width) / picture.width,
                  static_cast<double>(box.height) / picture.height, maxEnlargement});
    // Rounded rather than truncated, so a 1000 × 500 picture in a 300 box is 300 × 150 exactly.
    return {std::max(1, static_cast<int>(std::lround(picture.width * scale))),
            std::max(1, static_cast<int>(std::lround(picture.height * scale)))};
}

}  // namespace bw
