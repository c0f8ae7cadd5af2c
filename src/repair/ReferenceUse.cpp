#include "repair/ReferenceUse.h"

#include "check/ReferenceResolver.h"
#include "platform/Text.h"

namespace bw::repair {

std::vector<std::string> UsedRelatives(std::string_view reference, check::RefStatus status,
                                       const std::vector<std::string>& candidates,
                                       const std::string& runtime, const DriveMap& drives) {
    std::vector<std::string> used;
    if (status == check::RefStatus::Ok) {
        if (auto named = check::RuntimeRelativeOf(reference, runtime, drives))
            used.push_back(std::move(*named));
    } else if (status == check::RefStatus::Moved || status == check::RefStatus::Ambiguous) {
        for (const auto& c : candidates)
            if (auto relative = RelativeBelow(c, runtime)) used.push_back(std::move(*relative));
    }
    return used;
}

std::string WithoutTrailingSlashes(std::string_view path) {
    while (path.size() > 1 && path.back() == '/') path.remove_suffix(1);
    return std::string(path);
}

std::optional<std::string> RelativeBelow(std::string_view hostPath, std::string_view root) {
    const std::string path = WithoutTrailingSlashes(hostPath);
    std::string prefix = WithoutTrailingSlashes(root);
    if (prefix != "/") prefix += '/';
    if (path.size() <= prefix.size() || !StartsWith(path, prefix)) return std::nullopt;
    return path.substr(prefix.size());
}

bool IsAtOrUnder(std::string_view relative, std::string_view target) {
    if (target.empty()) return true;
    if (relative.size() < target.size() ||
        !AsciiEqualsIgnoreCase(relative.substr(0, target.size()), target))
        return false;
    return relative.size() == target.size() || relative[target.size()] == '/';
}

}  // namespace bw::repair
