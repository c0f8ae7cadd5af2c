#include "core/TreePopulation.h"

#include <algorithm>

#include "core/AppState.h"
#include "core/Classification.h"
#include "core/Desktop.h"
#include "platform/PlatformError.h"
#include "platform/Text.h"

namespace bw {

namespace {

const char* DrivePicture(DriveType type) {
    switch (type) {
        case DriveType::Removable:
            return "Removable";
        case DriveType::Fixed:
            return "Fixed";
        case DriveType::Network:
            return "Network";
        case DriveType::CdRom:
            return "CD-ROM";
        case DriveType::RamDisk:
            return "RamDisk";
        default:
            return "Unknown";
    }
}

void SortNames(std::vector<std::string>& names) {
    // Fold each name once rather than in every comparison: folders hold tens of thousands.
    std::vector<std::pair<std::string, std::string*>> keyed;
    keyed.reserve(names.size());
    for (auto& n : names) keyed.emplace_back(AsciiLower(n), &n);
    std::sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) {
        if (a.first != b.first) return a.first < b.first;
        return *a.second < *b.second;  // names that differ only in case keep a fixed order
    });
    std::vector<std::string> sorted;
    sorted.reserve(names.size());
    for (auto& k : keyed) sorted.push_back(std::move(*k.second));
    names.swap(sorted);
}

}  // namespace

void GetDrives(AppState& app) {
    app.tree.Clear();
    std::vector<DriveInfo> drives;
    try {
        drives = app.fs->Drives();
    } catch (const PlatformError&) {
        return;
    }
    for (const auto& d : drives) {
        Node* n = app.tree.AddChild(nullptr);
        n->SetText(d.path);
        n->SetImage(DrivePicture(d.type));
        n->SetKey(d.path + "\\ (" + std::to_string(n->index()) + ")");
        n->SetTag(tag::kDrive);
        AddEmptyFolderNode(*n);
    }
}

void ClearChildNodes(AppState& app, Node& node) { app.tree.RemoveChildren(&node); }

namespace {

// The lines a file node starts with: what it references, or what references it.
void AddScanLines(Node& file, const std::string& name) {
    if (IsPoserFile(name)) {
        if (AsciiEqualsIgnoreCase(Tail(name, 3), "obj"))
            AddScanForFileInFileNode(file);
        else
            AddScanForFileNode(file);
    }
    if (IsImageFile(name)) AddScanForFileInFileNode(file);
}

}  // namespace

void FillFolderNode(AppState& app, Node& node) {
    const std::string folder = node.FullPath() + "\\";
    // The node's own folder, not one that differs from its name only in case, which the listing's
    // case-blind lookup would find once the node's folder has gone.
    if (!app.fs->FolderExists(folder, Lookup::AsWritten)) return;
    std::vector<FolderEntry> entries;
    try {
        entries = app.fs->ListFolder(folder);
    } catch (const PlatformError&) {
        return;  // unreadable, vanished or not ready: the old children stay
    }
    ClearChildNodes(app, node);

    std::vector<std::string> folders, files;
    for (auto& e : entries) (e.isFolder ? folders : files).push_back(std::move(e.name));
    SortNames(folders);
    SortNames(files);

    // Built outside the tree and attached in one step, so a view inserts them all at once.
    std::vector<std::shared_ptr<Node>> children;
    children.reserve(folders.size() + files.size());
    for (const auto& name : folders) {
        auto child = app.tree.CreateDetached();
        child->SetKey(name + " (" + std::to_string(child->index()) + ")");
        child->SetText(name);
        child->SetExpandedImage("OpenFolder");
        child->SetImage("ClosedFolder");
        child->SetTag(tag::kFolder);
        AddEmptyFolderNode(*child);
        children.push_back(std::move(child));
    }
    for (const auto& name : files) {
        auto child = app.tree.CreateDetached();
        child->SetKey(name + " (" + std::to_string(child->index()) + ")");
        child->SetText(name);
        child->SetTag(tag::kFile);
        ClassifyFileNode(*child, app.settings);
        AddScanLines(*child, name);
        children.push_back(std::move(child));
    }
    if (children.empty()) {
        AddEmptyFolderNode(node);
        return;
    }
    app.tree.AttachChildren(&node, std::move(children));
}

void ExpandNode(AppState& app, Node& node) {
    NodeHandle handle(&node);
    const std::string scanning = std::string(kAppTitle) + "... (scanning)";
    app.desktop.SetBusy(true);
    app.desktop.SetCaption(scanning);
    const std::string& t = node.tag();
    if (t == tag::kFolder || t == tag::kDrive) {
        FillFolderNode(app, node);
    } else if (t == tag::kSystemFolder && !app.settings.ProtectSystemFilesFolders) {
        FillFolderNode(app, node);
    }
    app.desktop.SetBusy(false);
    if (app.desktop.Caption() == scanning) app.desktop.SetCaption(kAppTitle);
}

void ListScansAnew(AppState& app) {
    std::vector<Node*> scanned;
    app.tree.ForEach([&](Node* node) {
        if (node->tag() != tag::kFile || node->children().empty()) return true;
        const std::string& first = node->child(0)->tag();
        if (node->children().size() > 1 ||
            (first != tag::kScanForFile && first != tag::kScanForFileInFile))
            scanned.push_back(node);
        return true;
    });
    for (Node* node : scanned) {
        node->SetExpanded(false);
        app.tree.RemoveChildren(node);
        AddScanLines(*node, node->text());
    }
}

void CollapseNode(AppState&, Node& node) {
    if (node.tag() == tag::kFolder) node.SetExpandedImage("ClosedFolder");
}

}  // namespace bw
