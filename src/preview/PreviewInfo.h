#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "preview/FileFacts.h"
#include "preview/FitSize.h"
#include "preview/FolderCounts.h"
#include "preview/ObjCounts.h"

namespace bw {

// The texts under the preview picture, one fact a line, the name first.

// "1 byte", "512 bytes", "2.4 KB (2,458 bytes)", up to GB.
std::string FormatFileSize(uint64_t bytes);
// "1 face", "12,408 faces": the count with thousands separators and the right noun.
std::string FormatCount(uint64_t n, std::string_view singular, std::string_view plural);
// "Figure", "Pose", "Prop" ... for a library file name; "Library" for an extension not known.
std::string LibraryKindName(std::string_view name);

// A picture: its pixel size, or that it is not a readable picture.
std::string ImageInfoText(const std::string& name, std::optional<PixelSize> pixels, uint64_t size);
// A library file: its kind, size, whether a thumbnail was found and, when the index knows, how
// many references it holds.
std::string LibraryInfoText(const std::string& name, uint64_t size, bool thumbnailShown,
                            std::optional<int64_t> references);
std::string GeometryInfoText(const std::string& name, const ObjCounts& counts, uint64_t size);
std::string FolderInfoText(const std::string& name, const FolderCounts& counts);
// Anything else: size and local modification time.
std::string OtherInfoText(const std::string& name, const FileFacts& facts);
// The name and why nothing more can be said.
std::string UnavailableText(const std::string& name, const std::string& reason);

inline constexpr const char* kNoLongerThereText = "This item is no longer there.";
inline constexpr const char* kNotAPictureText = "Not a readable picture.";
inline constexpr const char* kNoThumbnailText = "No thumbnail.";
inline constexpr const char* kReadingText = "Reading...";

}  // namespace bw
