#include "preview/PictDecoder.h"

#include <Magick++.h>

#include <mutex>
#include <string>

namespace bw {

namespace {

constexpr size_t kPictFileHeaderSize = 512;

int16_t Int16At(std::string_view bytes, size_t at) {
    return static_cast<int16_t>(static_cast<unsigned char>(bytes[at]) << 8 |
                                static_cast<unsigned char>(bytes[at + 1]));
}

// The picture frame (top, left, bottom, right after the 2-byte size) tells how big the picture
// claims to be; a damaged thumbnail must not make the decoder allocate a huge canvas.
bool FrameIsSane(std::string_view pict) {
    if (pict.size() < 10) return false;
    const int width = Int16At(pict, 8) - Int16At(pict, 4);
    const int height = Int16At(pict, 6) - Int16At(pict, 2);
    return width > 0 && height > 0 && width <= kMaxPictSide && height <= kMaxPictSide;
}

}  // namespace

std::optional<RgbaPicture> DecodePictResource(std::string_view pict, PixelSize box) {
    static std::once_flag initialised;
    std::call_once(initialised, [] { Magick::InitializeMagick(nullptr); });
    if (!FrameIsSane(pict)) return std::nullopt;
    // The decoder reads PICT files, so the resource gets the (unused, zero) file header back.
    std::string file(kPictFileHeaderSize, '\0');
    file.append(pict);
    try {
        Magick::Image image;
        image.quiet(true);
        image.magick("PICT");
        image.read(Magick::Blob(file.data(), file.size()));
        const PixelSize original{static_cast<int>(image.columns()), static_cast<int>(image.rows())};
        const PixelSize fit = FitWithin(original, box);
        if (!(fit == original)) {
            Magick::Geometry geometry(fit.width, fit.height);
            geometry.aspect(true);  // FitWithin already kept the shape; take its size exactly
            if (fit.width < original.width)
                image.thumbnail(geometry);
            else
                image.resize(geometry);
        }
        RgbaPicture out;
        out.size = {static_cast<int>(image.columns()), static_cast<int>(image.rows())};
        out.rgba.resize(static_cast<size_t>(out.size.width) * out.size.height * 4);
        image.write(0, 0, out.size.width, out.size.height, "RGBA", Magick::CharPixel,
                    out.rgba.data());
        return out;
    } catch (const Magick::Exception&) {
        return std::nullopt;
    }
}

}  // namespace bw
