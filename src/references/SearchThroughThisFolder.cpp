#include "references/SearchThroughThisFolder.h"

#include "core/AppState.h"
#include "core/Classification.h"
#include "core/Desktop.h"
#include "core/PathHelpers.h"
#include "core/ReportError.h"
#include "platform/PlatformError.h"
#include "platform/Text.h"
#include "references/ReferenceExtraction.h"

namespace bw {

namespace {

inline constexpr const char* kDiscrepancyText =
    "Discrepancy Found: referenced folder does not match actual folder.";

struct LocationSearch {
    AppState& app;
    NodeHandle container;
    std::string referencedFolder;  // lower-cased, ending in "\"
    std::string referencedName;    // lower-cased
    bool containerGone = false;
};

void AddLocation(LocationSearch& s, Node& container, const std::string& folder,
                 const std::string& actualFolder, const std::string& name) {
    Node* location = s.app.tree.AddChild(&container);
    location->SetText("Found in: " + folder + "\\" + name);
    location->SetKey(actualFolder + "\\" + name + "_RefFolder (" +
                     std::to_string(location->index()) + ")");
    location->SetTag(tag::kRefFolder);
    location->SetImage("Properties");
    location->SetForeColor(0);
    if (s.referencedFolder == actualFolder) return;
    Node* discrepancy = s.app.tree.AddChild(location);
    discrepancy->SetText(kDiscrepancyText);
    discrepancy->SetTag(tag::kDiscrepancy);
    discrepancy->SetImage("Discrepancy");
    discrepancy->SetForeColor(kRed);
}

void Search(LocationSearch& s, const std::string& folder) {
    std::vector<FolderEntry> entries;
    try {
        entries = s.app.fs->ListFolder(folder);
    } catch (const PlatformError& e) {
        ReportError(s.app.desktop, e, "SearchThroughThisFolder");
        return;
    }
    bool listed = false;  // a folder gets one location line, however many names match in it
    for (const auto& entry : entries) {
        if (entry.isFolder) continue;
        s.app.desktop.DoEvents();
        Node* container = s.container.get();
        if (!container) {
            s.containerGone = true;
            return;
        }
        if (listed || entry.name.size() != s.referencedName.size()) continue;
        if (!AsciiEqualsIgnoreCase(entry.name, s.referencedName)) continue;
        listed = true;
        AddLocation(s, *container, folder, AsciiLower(folder) + "\\", entry.name);
    }
    for (const auto& entry : entries) {
        // Links to folders are not followed: they can lead out of the tree or round in a loop.
        if (!entry.isFolder || entry.isLink) continue;
        Search(s, folder + "\\" + entry.name);
        if (s.containerGone) return;
    }
}

}  // namespace

void SetResultState(Node& node, const std::string& text, const char* tagName, const char* image) {
    node.SetText(text);
    node.SetTag(tagName);
    node.SetImage(image);
    node.SetForeColor(0);
}

std::string RuntimeRoot(const std::string& runtimeSetting) {
    std::string root = runtimeSetting;
    while (!root.empty() && root.back() == '\\') root.pop_back();
    return root;
}

std::string StartFolderFor(const std::string& reference, const std::string& runtimeFolder) {
    static const std::pair<const char*, const char*> kByExtension[] = {
        {"obj", "\\Geometries"},       {"cr2", "\\Libraries\\character"},
        {"fc2", "\\Libraries\\Face"},  {"hr2", "\\Libraries\\Hair"},
        {"hd2", "\\Libraries\\Hand"},  {"lt2", "\\Libraries\\Light"},
        {"pp2", "\\Libraries\\Props"},
    };
    const std::string tail = Tail(reference, 3);
    const std::string root = RuntimeRoot(runtimeFolder);
    if (InExtensionList(tail, ImageFileExtensions)) return root + "\\Textures";
    for (const auto& [extension, sub] : kByExtension)
        if (tail == extension) return root + sub;
    return root;
}

void SearchThroughThisFolder(AppState& app, const NodeHandle& container, const std::string& folder,
                             const std::string& reference) {
    const std::string full = PoserPathToFullPath(WithoutQuotes(reference), app.settings.Runtime);
    LocationSearch s{app, container, GetFolderOfPath(full), GetFileOfPath(full)};
    Search(s, folder);
}

}  // namespace bw
