#include "core/PathHelpers.h"

#include <algorithm>

#include "platform/Text.h"

namespace bw {

std::string PoserPathToFullPath(const std::string& path, const std::string& runtimeFolder) {
    if (path.find('\\') != std::string::npos) return path;
    std::string p = path;
    std::replace(p.begin(), p.end(), ':', '\\');
    p = AsciiLower(runtimeFolder + "\\" + p);
    return ReplaceAll(p, "runtime\\\\", "");
}

std::string FullPathToPoserPath(const std::string& path) {
    size_t pos = FindIgnoreCase(path, "\\Runtime");
    if (pos == std::string::npos) return {};
    std::string rest = path.substr(pos + 1);
    std::replace(rest.begin(), rest.end(), '\\', ':');
    return rest;
}

std::string GetFolderOfPath(const std::string& path) {
    size_t pos = path.rfind('\\');
    return pos == std::string::npos ? std::string() : AsciiLower(path.substr(0, pos + 1));
}

std::string GetFileOfPath(const std::string& path) {
    size_t pos = path.rfind('\\');
    return AsciiLower(pos == std::string::npos ? path : path.substr(pos + 1));
}

}  // namespace bw
