#include "ui/PreviewWork.h"

#include <cstring>

#include "platform/FileSystem.h"
#include "platform/PlatformError.h"
#include "preview/FileFacts.h"
#include "preview/FolderCounts.h"
#include "preview/ObjCounts.h"
#include "preview/PictDecoder.h"
#include "preview/PreviewInfo.h"
#include "preview/ResourceFork.h"
#include "preview/ThumbnailCandidates.h"
#include "ui/ScaledImageRead.h"

namespace bw {

namespace {

// Thumbnail forks are a few kilobytes; anything far larger is not one worth reading whole.
constexpr uint64_t kMaxForkSize = 16u << 20;

QString FromUtf8(const std::string& s) { return QString::fromStdString(s); }

QString HostPathOf(const FileSystem& fs, const std::string& path) {
    return QString::fromStdString(fs.HostPath(path));
}

QImage PictThumbnail(const FileSystem& fs, const std::string& rsrPath, QSize box) {
    uint64_t size = 0;
    char probe = 0;
    fs.ReadFileAt(rsrPath, 0, &probe, 1, &size);
    if (size > kMaxForkSize) return {};
    const auto pict = FindResource(fs.ReadFile(rsrPath), "PICT");
    if (!pict) return {};
    const auto decoded = DecodePictResource(*pict, {box.width(), box.height()});
    if (!decoded) return {};
    QImage image(decoded->size.width, decoded->size.height, QImage::Format_RGBA8888);
    for (int y = 0; y < image.height(); ++y)
        std::memcpy(image.scanLine(y),
                    decoded->rgba.data() + static_cast<size_t>(y) * image.width() * 4,
                    static_cast<size_t>(image.width()) * 4);
    return image;
}

QImage LibraryThumbnail(const FileSystem& fs, const std::string& libraryPath, QSize box) {
    for (const Thumbnail& t : ThumbnailCandidates(fs, libraryPath)) {
        QImage image = t.kind == ThumbnailKind::Png
                           ? ReadScaledImage(HostPathOf(fs, t.path), box).image
                           : PictThumbnail(fs, t.path, box);
        if (!image.isNull()) return image;
    }
    return {};
}

PreviewResult BuildFileOrFolder(const FileSystem& fs, const PreviewJob& job,
                                const std::function<bool()>& superseded) {
    const PreviewRequest& r = job.request;
    if (r.kind == PreviewKind::Folder)
        return {{}, FromUtf8(FolderInfoText(r.name, CountFolder(fs, r.path)))};
    const auto facts = StatFile(fs, r.path);
    if (!facts) return {{}, FromUtf8(UnavailableText(r.name, kNoLongerThereText))};
    switch (r.kind) {
        case PreviewKind::Image: {
            ScaledImage read = ReadScaledImage(HostPathOf(fs, r.path), job.box);
            std::optional<PixelSize> pixels;
            if (!read.image.isNull())
                pixels = PixelSize{read.original.width(), read.original.height()};
            return {read.image, FromUtf8(ImageInfoText(r.name, pixels, facts->size))};
        }
        case PreviewKind::Library: {
            QImage thumbnail = LibraryThumbnail(fs, r.path, job.box);
            return {thumbnail, FromUtf8(LibraryInfoText(r.name, facts->size, !thumbnail.isNull(),
                                                        job.referenceCount))};
        }
        case PreviewKind::Geometry: {
            const auto counts = CountObj(fs, r.path, superseded);
            if (!counts) return {};
            return {{}, FromUtf8(GeometryInfoText(r.name, *counts, facts->size))};
        }
        default:
            return {{}, FromUtf8(OtherInfoText(r.name, *facts))};
    }
}

}  // namespace

PreviewResult BuildPreview(const FileSystem& fs, const PreviewJob& job,
                           const std::function<bool()>& superseded) {
    if (job.request.kind == PreviewKind::Nothing) return {};
    try {
        return BuildFileOrFolder(fs, job, superseded);
    } catch (const PlatformError& e) {
        return {{}, FromUtf8(UnavailableText(job.request.name, e.description()))};
    }
}

}  // namespace bw
