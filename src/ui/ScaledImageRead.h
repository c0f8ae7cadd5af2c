#pragma once

#include <QImage>
#include <QSize>
#include <QString>

namespace bw {

// A picture read for showing in a box: `image` is null when the file is not a readable picture.
struct ScaledImage {
    QImage image;
    QSize original;  // the picture's own size, as shown (after its orientation tag)
};

// Reads a picture file (host path) at the size that fits `box` (FitWithin's rule): large pictures
// are decoded scaled where the format can (JPEG's DCT scaling), so a 4096-pixel texture never
// becomes a full-size image in memory. Safe from any thread.
ScaledImage ReadScaledImage(const QString& hostPath, QSize box);

}  // namespace bw
