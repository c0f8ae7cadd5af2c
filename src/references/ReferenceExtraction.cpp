#include "references/ReferenceExtraction.h"

#include <functional>
#include <limits>

#include "core/Classification.h"
#include "core/Settings.h"
#include "platform/PlatformError.h"
#include "platform/Text.h"

namespace bw {

namespace {

struct Keyword {
    std::string_view text;
    size_t skip;  // from the keyword's start to the path's start
};

// The geometry keywords in the order they are tried; only the first one found counts. The skips
// pass the keyword and its separator, and after objFileGeom also its two one-digit numbers.
constexpr Keyword kGeometryKeywords[] = {{"figureResFile", 14}, {"objFileGeom", 16}, {"prop", 5}};
constexpr Keyword kImageKeyword = {"map ", 4};

}  // namespace

bool InExtensionList(std::string_view candidate, std::string_view list) {
    const size_t pos = FindIgnoreCase(list, candidate);
    return pos != std::string_view::npos && pos > 0;
}

std::optional<std::string_view> ExtensionCandidate(std::string_view line) {
    const size_t dot = line.find('.');
    if (dot == std::string_view::npos) return std::nullopt;
    return line.substr(dot + 1, 3);
}

std::optional<PathCut> GeometryPathCut(std::string_view line) {
    for (const auto& k : kGeometryKeywords) {
        const size_t pos = FindIgnoreCase(line, k.text);
        if (pos != std::string_view::npos) return PathCut{pos, pos + k.skip};
    }
    return std::nullopt;
}

std::optional<PathCut> ImagePathCut(std::string_view line) {
    const size_t pos = FindIgnoreCase(line, kImageKeyword.text);
    if (pos == std::string_view::npos) return std::nullopt;
    return PathCut{pos, pos + kImageKeyword.skip};
}

std::optional<std::string> ReferenceReader::ReadLine(std::string_view line) {
    const auto candidate = ExtensionCandidate(line);
    if (!candidate) return std::nullopt;
    // Version numbers and coordinates (4.01, 0.3487) are not file names.
    if (IsNumeric(std::string(*candidate))) return std::nullopt;
    const bool poser = InExtensionList(*candidate, PoserFileExtensions);
    const bool image = InExtensionList(*candidate, ImageFileExtensions);
    if (!poser && !image) return std::nullopt;
    if (candidateLines_ < std::numeric_limits<int>::max()) ++candidateLines_;

    if (poser) {
        if (auto cut = GeometryPathCut(line)) {
            if (cut->start > line.size()) throw PlatformError::FromNumber(err::kInvalidCall);
            TakePath(line, cut->start);
        }
    }
    if (image) {
        if (auto cut = ImagePathCut(line)) TakePath(line, cut->start);
    }

    // A path that lies inside one already listed, in any letter case, is not listed again. The
    // empty path is inside any non-empty list.
    const bool duplicate = !foundList_.empty() && ContainsIgnoreCase(foundList_, currentPath_);
    if (!duplicate) foundList_ += currentPath_ + ", ";
    if (duplicate || currentPath_.empty()) return std::nullopt;
    return currentPath_;
}

void ReferenceReader::TakePath(std::string_view line, size_t start) {
    const std::string_view path = line.substr(start);
    if (path.size() <= kMaxReferenceLength) {
        currentPath_ = std::string(path);
        return;
    }
    skippedLong_.insert(std::hash<std::string_view>()(path));
    // The line named a path, only not one to list: nothing carries on to later lines.
    currentPath_.clear();
}

void ReferenceReader::CarryUnquoted() { currentPath_ = WithoutQuotes(currentPath_); }

bool IsLocatable(std::string_view reference) {
    const std::string tail = Tail(WithoutQuotes(reference), 3);
    return InExtensionList(tail, PoserFileExtensions) || InExtensionList(tail, ImageFileExtensions);
}

}  // namespace bw
