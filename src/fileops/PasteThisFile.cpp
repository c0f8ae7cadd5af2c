#include "fileops/PasteThisFile.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <system_error>
#include <vector>

#include "core/AppState.h"
#include "core/ContentUsage.h"
#include "core/Desktop.h"
#include "core/ReportError.h"
#include "core/TreePopulation.h"
#include "fileops/Clipboard.h"
#include "fileops/MoveAcrossDrives.h"
#include "platform/PlatformError.h"

namespace bw {

namespace {

namespace stdfs = std::filesystem;

std::string LastComponent(const std::string& path) {
    const size_t slash = path.find_last_of('\\');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

stdfs::path Canonical(const std::string& host) {
    std::error_code ec;
    stdfs::path p = stdfs::weakly_canonical(host, ec);
    return ec ? stdfs::path(host).lexically_normal() : p;
}

bool IsSameOrInside(const stdfs::path& inner, const stdfs::path& outer) {
    auto [o, i] = std::mismatch(outer.begin(), outer.end(), inner.begin(), inner.end());
    return o == outer.end();
}

bool SameItem(const std::string& a, const std::string& b) {
    std::error_code ec;
    return stdfs::equivalent(a, b, ec) && !ec;
}

// Everything that must hold before the file system is asked: the source is there, the target is a
// folder, and the item would neither be written onto itself nor into its own sub-tree, which would
// truncate or endlessly copy the user's files. Answers the destination path.
std::string CheckPaste(const FileSystem& fs, const std::string& source, bool isFolder,
                       const std::string& targetPath) {
    if (!isFolder && !fs.FileExists(source)) throw PlatformError::FromNumber(err::kFileNotFound);
    if (!fs.FolderExists(targetPath + "\\")) throw PlatformError::FromNumber(err::kPathFileAccess);
    const std::string destination = targetPath + "\\" + LastComponent(source);
    const std::string hostSource = fs.HostPath(source);
    if (isFolder &&
        IsSameOrInside(Canonical(fs.HostPath(targetPath + "\\")), Canonical(hostSource)))
        throw PlatformError::FromNumber(err::kPathFileAccess);
    if (SameItem(hostSource, fs.HostPath(destination)))
        throw PlatformError::FromNumber(err::kPathFileAccess);
    return destination;
}

// The node that was cut, found by its handle, or else by the path it showed (the handle goes
// stale when its folder is refilled in between); every node still showing the old path goes.
void RemoveCutNodes(AppState& app, const std::string& source) {
    std::vector<NodeHandle> stale;
    if (Node* n = app.ClipboardNode.get(); n && n->FullPath() == source) stale.emplace_back(n);
    const std::string name = LastComponent(source);
    app.tree.ForEach([&](Node* n) {
        if (n->text() == name && n->FullPath() == source && !(NodeHandle(n) == app.ClipboardNode))
            stale.emplace_back(n);
        return true;
    });
    for (const auto& h : stale)
        if (Node* n = h.get()) app.tree.Remove(n);
}

}  // namespace

void PasteThisFile(AppState& app) {
    Node* target = app.CurrentNode.get();
    if (!target || app.ClipboardPath.empty()) return;
    NodeHandle targetHandle(target);
    const std::string source = app.ClipboardPath;
    FileSystem& fs = *app.fs;
    std::function<void()> afterMove;
    app.desktop.SetBusy(true);
    try {
        const bool isFolder = fs.FolderExists(source);
        const std::string destination = CheckPaste(fs, source, isFolder, target->FullPath());
        if (app.ClipboardIsCut) {
            // Asked while references to the item still lead to it; acted on once it has moved.
            if (app.usage)
                afterMove = app.usage->PrepareMove(fs.HostPath(source, Lookup::AsWritten),
                                                   fs.HostPath(destination));
            try {
                fs.Rename(source, destination);
            } catch (const PlatformError& e) {
                if (e.number() != err::kRenameAcrossDrives) throw;
                MoveAcrossDrives(fs, source, destination);
            }
        } else if (isFolder) {
            fs.CopyFolder(source, destination, Overwrite::Yes);
        } else {
            fs.CopyFile(source, destination, Overwrite::Yes);
        }
    } catch (const PlatformError& e) {
        app.desktop.SetBusy(false);
        ReportError(app.desktop, e, "PasteThisFile");
        return;
    }
    app.desktop.SetBusy(false);
    if (app.ClipboardIsCut) RemoveCutNodes(app, source);
    if (Node* t = targetHandle.get()) {
        ExpandNode(app, *t);
        if ((t = targetHandle.get())) t->SetExpanded(true);
    }
    EnableCutCopy(app, false);
    ClearClipboard(app);
    if (afterMove) afterMove();
}

}  // namespace bw
