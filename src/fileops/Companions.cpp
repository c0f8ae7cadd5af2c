#include "fileops/Companions.h"

#include "core/Classification.h"
#include "platform/FileSystem.h"
#include "platform/Text.h"

namespace bw {

bool EndsInPoserExtension(std::string_view name, LetterCase letterCase) {
    std::string tail = Tail(name, 3);
    if (letterCase == LetterCase::Ignored) tail = AsciiLower(tail);
    const size_t at = std::string_view(PoserFileExtensions).find(tail);
    return at != std::string_view::npos && at > 0;
}

std::vector<std::string> CompanionNames(std::string_view name) {
    // Without a base name and a dot before the extension there is nothing a companion could be
    // named after, and a bare "rsr" would name an unrelated file.
    if (name.size() < 4 || name[name.size() - 4] != '.') return {};
    const std::string base(name.substr(0, name.size() - 3));
    return {base + "rsr", base + "png"};
}

std::vector<std::string> CompanionsToRemove(const FileSystem& fs, const std::string& path) {
    const size_t slash = path.rfind('\\');
    const std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
    const std::string name = path.substr(folder.size());
    if (!EndsInPoserExtension(name, LetterCase::Significant)) return {};
    if (!fs.FileExists(path, Lookup::AsWritten) && !fs.FolderExists(path, Lookup::AsWritten))
        return {};
    std::vector<std::string> out;
    for (const auto& companion : CompanionNames(name))
        if (fs.FileExists(folder + companion, Lookup::AsWritten)) out.push_back(folder + companion);
    return out;
}

}  // namespace bw
