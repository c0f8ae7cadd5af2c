#include "fileops/OpenThisNode.h"

#include "core/AppState.h"
#include "core/Desktop.h"
#include "platform/PlatformError.h"
#include "platform/Shell.h"
#include "platform/Text.h"

namespace bw {

namespace {

constexpr size_t kFoundInLength = 10;  // "Found in: "

// A drive's full path ("C:") names its root folder ("C:\").
std::string FolderPathOf(const std::string& path) {
    return path.size() == 2 && path[1] == ':' ? path + "\\" : path;
}

}  // namespace

std::string RefFolderPath(const std::string& nodeText, const std::string& runtimeFolder) {
    const std::string found =
        nodeText.size() > kFoundInLength ? nodeText.substr(kFoundInLength) : std::string();
    // The file manager on this desktop opens a file in its application instead of showing where
    // it lies, so the folder holding the found file is handed over.
    const size_t slash = found.find_last_of('\\');
    const std::string folder = slash == std::string::npos ? found : found.substr(0, slash);
    const std::string marker = "\\Runtime\\";
    const size_t at = (folder + "\\").find(marker);
    if (at == std::string::npos) return folder;
    return runtimeFolder + folder.substr(at + marker.size() - 1);
}

void OpenThisNode(AppState& app) {
    Node* node = app.CurrentNode.get();
    if (!node) return;
    const std::string& t = node->tag();
    if (t == tag::kDrive || t == tag::kFolder || t == tag::kRefFolder || t == tag::kSystemFolder)
        ExploreThisFolder(app, *node);
    else if (t == tag::kFile || t == tag::kSystemFile)
        OpenInDefaultApplication(app, node->FullPath());
}

void ExploreThisFolder(AppState& app, const Node& node) {
    const std::string& t = node.tag();
    if (t == tag::kDrive || t == tag::kFolder || t == tag::kSystemFolder)
        ExploreFolder(app, FolderPathOf(node.FullPath()));
    else if (t == tag::kRefFolder)
        ExploreFolder(app, RefFolderPath(node.text(), app.settings.Runtime));
}

void OpenInDefaultApplication(AppState& app, const std::string& path) {
    bool associated = false;
    std::string host;
    if (!path.empty() && app.shell) {
        try {
            host = app.fs->HostPath(path);
            associated = app.shell->HasAssociatedApplication(host);
        } catch (const PlatformError&) {
            associated = false;
        }
    }
    if (!associated) {
        app.desktop.ShowMsgBox(
            "There is no default application found for this file type: " + Tail(path, 4),
            style::kOKOnly, "Notice");
        return;
    }
    try {
        app.shell->Open(host);
    } catch (const PlatformError&) {
        // Only a missing association is the user's business; the desktop reports its own failures.
    }
}

void ExploreFolder(AppState& app, const std::string& path) {
    if (path.empty() || !app.shell) return;
    try {
        app.shell->Open(app.fs->HostPath(FolderPathOf(path)));
    } catch (const PlatformError&) {
        // A vanished folder or a missing file manager shows nothing, as on the desktop itself.
    }
}

}  // namespace bw
