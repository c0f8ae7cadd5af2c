#include "check/ReferenceResolver.h"

#include <sys/stat.h>

#include "core/Classification.h"
#include "platform/Text.h"

namespace bw::check {

namespace {

struct StartFolder {
    std::string_view tail;
    std::string_view folder;
};
constexpr StartFolder kStartFolders[] = {
    {"obj", "Geometries"},      {"cr2", "Libraries/character"}, {"fc2", "Libraries/Face"},
    {"hr2", "Libraries/Hair"},  {"hd2", "Libraries/Hand"},      {"lt2", "Libraries/Light"},
    {"pp2", "Libraries/Props"},
};

bool IsSeparator(char c) { return c == ':' || c == '\\' || c == '/'; }

bool IsDrivePath(std::string_view p) {
    return p.size() >= 3 && ((p[0] >= 'A' && p[0] <= 'Z') || (p[0] >= 'a' && p[0] <= 'z')) &&
           p[1] == ':' && (p[2] == '\\' || p[2] == '/');
}

// Path components, "." dropped and ".." taking the previous one back.
std::vector<std::string> Components(std::string_view path) {
    std::vector<std::string> parts;
    size_t i = 0;
    while (i < path.size()) {
        size_t j = i;
        while (j < path.size() && !IsSeparator(path[j])) ++j;
        const std::string_view part = path.substr(i, j - i);
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.emplace_back(part);
        }
        i = j + 1;
    }
    return parts;
}

bool IsRegularFile(const std::string& hostPath) {
    struct stat st {};
    return ::stat(hostPath.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

}  // namespace

std::string SearchFolderFor(std::string_view reference) {
    const std::string tail = Tail(reference, 3);
    std::string folder;
    for (const auto& row : kStartFolders)
        if (tail == row.tail) folder = row.folder;
    // The image test comes last and wins; like the extension lists' own test, it looks for the
    // tail anywhere in the list after its first character.
    const size_t at = tail.empty() ? std::string::npos : FindIgnoreCase(ImageFileExtensions, tail);
    if (at != std::string::npos && at > 0) folder = "Textures";
    return folder;
}

std::optional<std::string> RuntimeRelativeOf(std::string_view reference, const std::string& runtime,
                                             const DriveMap& drives) {
    std::string relative;
    if (IsDrivePath(reference)) {
        const auto host = drives.ToHost(ReplaceAll(std::string(reference), "/", "\\"));
        if (!host || host->size() <= runtime.size() + 1 || (*host)[runtime.size()] != '/' ||
            !AsciiEqualsIgnoreCase(std::string_view(*host).substr(0, runtime.size()), runtime))
            return std::nullopt;
        relative = host->substr(runtime.size() + 1);
    } else {
        const auto parts = Components(reference);
        const std::string_view name = std::string_view(runtime).substr(runtime.rfind('/') + 1);
        if (parts.size() < 2 ||
            !(AsciiEqualsIgnoreCase(parts[0], name) || AsciiEqualsIgnoreCase(parts[0], "Runtime")))
            return std::nullopt;
        for (size_t i = 1; i < parts.size(); ++i) relative += (i > 1 ? "/" : "") + parts[i];
    }
    return relative;
}

ReferenceResolver::ReferenceResolver(const RuntimeIndex& index, const DriveMap& drives)
    : index_(index), drives_(drives) {
    const std::string& runtime = index.runtime();
    const size_t slash = runtime.rfind('/');
    runtimeName_ = runtime.substr(slash + 1);
    poserRoot_ = slash == 0 ? "/" : runtime.substr(0, slash);
}

bool ReferenceResolver::ExistsOnDisk(const std::string& key, const std::string& hostPath) {
    const auto it = disk_.find(key);
    if (it != disk_.end()) return it->second;
    const bool exists = IsRegularFile(hostPath);
    disk_.emplace(key, exists);
    return exists;
}

bool ReferenceResolver::LocalFileExists(const std::vector<std::string>& parts) {
    if (parts.empty()) return false;
    // Inside the Runtime folder the walk already knows every file.
    if (AsciiEqualsIgnoreCase(parts[0], runtimeName_) ||
        AsciiEqualsIgnoreCase(parts[0], "Runtime")) {
        std::string relative;
        for (size_t i = 1; i < parts.size(); ++i) relative += (i > 1 ? "/" : "") + parts[i];
        return index_.Contains(relative);
    }
    std::string key = ":";
    for (const auto& p : parts) key += AsciiLower(p) + ":";
    if (const auto it = disk_.find(key); it != disk_.end()) return it->second;
    const bool exists =
        IsRegularFile(ResolveComponents(poserRoot_, parts, Lookup::IgnoringCase).path);
    disk_.emplace(key, exists);
    return exists;
}

const Resolution& ReferenceResolver::Resolve(std::string_view reference) {
    if (const auto it = answers_.find(reference); it != answers_.end()) return it->second;
    return answers_.emplace(std::string(reference), Work(reference)).first->second;
}

Resolution ReferenceResolver::Work(std::string_view reference) {
    if (StartsWith(reference, "GetStringRes")) return {RefStatus::Internal, {}};
    bool found = false;
    if (IsDrivePath(reference)) {
        const std::string windows = ReplaceAll(std::string(reference), "/", "\\");
        if (const auto host = drives_.ToHost(windows))
            found = ExistsOnDisk(AsciiLower(windows), *host);
    } else {
        found = LocalFileExists(Components(reference));
    }
    if (found) return {RefStatus::Ok, {}};

    const auto parts = Components(reference);
    if (parts.empty()) return {RefStatus::Missing, {}};
    Resolution r;
    r.candidates = index_.FilesNamed(parts.back(), SearchFolderFor(reference));
    r.status = r.candidates.empty()       ? RefStatus::Missing
               : r.candidates.size() == 1 ? RefStatus::Moved
                                          : RefStatus::Ambiguous;
    return r;
}

}  // namespace bw::check
