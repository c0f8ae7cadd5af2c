#include "fileops/PrintThisFolderToFile.h"

#include <vector>

#include "core/AppState.h"
#include "core/Classification.h"
#include "platform/PlatformError.h"
#include "platform/Text.h"

namespace bw {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

void AppendLine(std::string& out, const std::string& indent, std::string_view mark,
                std::string_view name, std::string_view kind) {
    out.append(indent).append(mark).append(name).append(kind).append(kLineEnd);
}

}  // namespace

bool IsListedAsSystemFile(std::string_view name) {
    return std::string_view(SystemFileExtensions).find(Tail(name, 4)) != std::string_view::npos;
}

void PrintThisFolderToFile(AppState& app, const std::string& folder, std::string& out,
                           const std::string& indent) {
    std::vector<FolderEntry> entries;
    try {
        entries = app.fs->ListFolder(folder);
    } catch (const PlatformError&) {
        return;
    }
    const std::string base = folder.empty() || folder.back() == '\\' ? folder : folder + "\\";
    const std::string deeper = indent + "|";
    size_t count = 0;
    for (const auto& e : entries) {
        if (!e.isFolder) continue;
        AppendLine(out, indent, "+", e.name, " (Folder)");
        // A link to a folder is listed but not entered: it may lead back up or across the machine.
        if (app.PrintSubFolders && !e.isLink)
            PrintThisFolderToFile(app, base + e.name, out, deeper);
        ++count;
    }
    for (const auto& e : entries) {
        if (e.isFolder) continue;
        AppendLine(out, indent, "-", e.name,
                   IsListedAsSystemFile(e.name) ? " (System File)" : " (File)");
        ++count;
    }
    if (count == 0)
        out.append(indent).append("(no folders or files found in this folder)").append(kLineEnd);
}

}  // namespace bw
