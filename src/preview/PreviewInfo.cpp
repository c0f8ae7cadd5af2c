#include "preview/PreviewInfo.h"

#include <array>
#include <cstdio>
#include <utility>

#include "platform/Text.h"

namespace bw {

namespace {

std::string Grouped(uint64_t n) {
    std::string digits = std::to_string(n), out;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
        out += digits[i];
    }
    return out;
}

std::string Lines(std::initializer_list<std::string> lines) {
    std::string out;
    for (const std::string& line : lines) {
        if (line.empty()) continue;
        if (!out.empty()) out += '\n';
        out += line;
    }
    return out;
}

}  // namespace

std::string FormatFileSize(uint64_t bytes) {
    if (bytes < 1024) return FormatCount(bytes, "byte", "bytes");
    static constexpr std::array<const char*, 3> kUnits = {"KB", "MB", "GB"};
    double value = bytes / 1024.0;
    size_t unit = 0;
    while (value >= 1024 && unit + 1 < kUnits.size()) {
        value /= 1024;
        ++unit;
    }
    char scaled[32];
    std::snprintf(scaled, sizeof scaled, "%.1f %s", value, kUnits[unit]);
    return std::string(scaled) + " (" + Grouped(bytes) + " bytes)";
}

std::string FormatCount(uint64_t n, std::string_view singular, std::string_view plural) {
    return Grouped(n) + " " + std::string(n == 1 ? singular : plural);
}

std::string LibraryKindName(std::string_view name) {
    static constexpr std::pair<const char*, const char*> kKinds[] = {
        {"cr2", "Figure"}, {"pz2", "Pose"},   {"fc2", "Face"}, {"hr2", "Hair"},  {"hd2", "Hand"},
        {"lt2", "Light"},  {"cm2", "Camera"}, {"pp2", "Prop"}, {"pz3", "Scene"},
    };
    const std::string tail = AsciiLower(Tail(name, 3));
    for (const auto& [extension, kind] : kKinds)
        if (tail == extension) return kind;
    return "Library";
}

std::string ImageInfoText(const std::string& name, std::optional<PixelSize> pixels, uint64_t size) {
    const std::string picture = pixels ? std::to_string(pixels->width) + " \u00d7 " +
                                             std::to_string(pixels->height) + " pixels"
                                       : kNotAPictureText;
    return Lines({name, picture, FormatFileSize(size)});
}

std::string LibraryInfoText(const std::string& name, uint64_t size, bool thumbnailShown,
                            std::optional<int64_t> references) {
    return Lines({name, LibraryKindName(name) + " library file", FormatFileSize(size),
                  references && *references >= 0
                      ? FormatCount(static_cast<uint64_t>(*references), "reference", "references")
                      : "",
                  thumbnailShown ? "" : kNoThumbnailText});
}

std::string GeometryInfoText(const std::string& name, const ObjCounts& counts, uint64_t size) {
    return Lines({name, "Geometry",
                  FormatCount(counts.vertices, "vertex", "vertices") + ", " +
                      FormatCount(counts.faces, "face", "faces"),
                  FormatFileSize(size)});
}

std::string FolderInfoText(const std::string& name, const FolderCounts& counts) {
    return Lines({name, FormatCount(counts.subFolders, "sub-folder", "sub-folders"),
                  FormatCount(counts.libraryFiles, "library file", "library files"),
                  FormatCount(counts.imageFiles, "image file", "image files"),
                  FormatCount(counts.systemFiles, "system file", "system files"),
                  FormatCount(counts.otherFiles, "other file", "other files")});
}

std::string OtherInfoText(const std::string& name, const FileFacts& facts) {
    std::tm local{};
    char when[32] = "";
    if (localtime_r(&facts.modified, &local))
        std::strftime(when, sizeof when, "%Y-%m-%d %H:%M", &local);
    return Lines({name, FormatFileSize(facts.size), std::string("Modified ") + when});
}

std::string UnavailableText(const std::string& name, const std::string& reason) {
    return Lines({name, reason});
}

}  // namespace bw
