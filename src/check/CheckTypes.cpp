#include "check/CheckTypes.h"

#include <array>

namespace bw::check {

namespace {

constexpr std::array<std::string_view, kKeywordCount> kKeywordNames = {
    "figureResFile",   "objFileGeom",         "objFile",
    "readScript",      "textureMap",          "bumpMap",
    "reflectionMap",   "transparencyMap",     "file",
    "morphBinaryFile", "injectPMDFileMorphs", "hairCacheFile"};

constexpr std::array<std::string_view, kStatusCount> kStatusNames = {
    "ok", "moved", "ambiguous", "missing", "internal", "unreadable"};

}  // namespace

std::string_view KeywordName(Keyword keyword) {
    return kKeywordNames[static_cast<size_t>(keyword)];
}

std::optional<Keyword> KeywordNamed(std::string_view text) {
    for (size_t i = 0; i < kKeywordNames.size(); ++i)
        if (kKeywordNames[i] == text) return static_cast<Keyword>(i);
    return std::nullopt;
}

std::string_view StatusName(RefStatus status) { return kStatusNames[static_cast<size_t>(status)]; }

bool IsProblem(RefStatus status) {
    return status != RefStatus::Ok && status != RefStatus::Internal;
}

}  // namespace bw::check
