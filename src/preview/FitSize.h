#pragma once

namespace bw {

struct PixelSize {
    int width = 0;
    int height = 0;
    bool operator==(const PixelSize&) const = default;
};

// How much a preview may enlarge a small picture.
inline constexpr double kMaxPreviewEnlargement = 2.0;

// The size that shows a picture whole inside `box`, keeping its shape, enlarged at most
// `maxEnlargement` times and never below 1 × 1; the picture's own size when it or the box is empty.
PixelSize FitWithin(PixelSize picture, PixelSize box,
                    double maxEnlargement = kMaxPreviewEnlargement);

}  // namespace bw
