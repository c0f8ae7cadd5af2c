#include "ui/ScaledImageRead.h"

#include <QImageReader>

#include "preview/FitSize.h"

namespace bw {

namespace {

PixelSize ToPixels(QSize s) { return {s.width(), s.height()}; }
QSize ToQSize(PixelSize s) { return {s.width, s.height}; }

}  // namespace

ScaledImage ReadScaledImage(const QString& hostPath, QSize box) {
    QImageReader reader(hostPath);
    reader.setAutoTransform(true);
    ScaledImage out;
    QSize stored = reader.size();
    // A quarter turn swaps the sides: the scaled size is given before the turn, the box after.
    const bool turned = reader.transformation().testFlag(QImageIOHandler::TransformationRotate90);
    if (stored.isValid()) {
        const QSize shown = turned ? stored.transposed() : stored;
        const QSize fit = ToQSize(FitWithin(ToPixels(shown), ToPixels(box)));
        if (fit.width() < shown.width()) reader.setScaledSize(turned ? fit.transposed() : fit);
        out.original = shown;
    }
    QImage image = reader.read();
    if (image.isNull()) return out;
    if (!out.original.isValid()) out.original = image.size();
    // Formats without scaled reading, and small pictures to enlarge, are scaled here.
    const QSize fit = ToQSize(FitWithin(ToPixels(out.original), ToPixels(box)));
    if (image.size() != fit)
        image = image.scaled(fit, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    out.image = std::move(image);
    return out;
}

}  // namespace bw
