#include "core/Classification.h"

#include "core/Node.h"
#include "core/Settings.h"
#include "core/Tree.h"
#include "platform/Text.h"

namespace bw {

namespace {

// The lists are lower case, so folding the short tail is enough.
bool TailIn(std::string_view name, size_t tail, std::string_view list) {
    return list.find(AsciiLower(name.size() <= tail ? name : name.substr(name.size() - tail))) !=
           std::string_view::npos;
}

Node* AddPlaceholder(Node& parent, const char* text, const char* image, const char* tagName) {
    Node* n = parent.tree()->AddChild(&parent);
    n->SetText(text);
    n->SetImage(image);
    n->SetTag(tagName);
    n->SetKey(parent.key() + "_" + text);
    n->SetForeColor(kRed);
    return n;
}

}  // namespace

bool IsPoserFile(std::string_view name) { return TailIn(name, 3, PoserFileExtensions); }
bool IsImageFile(std::string_view name) { return TailIn(name, 3, ImageFileExtensions); }
bool IsSystemFile(std::string_view name) { return TailIn(name, 4, SystemFileExtensions); }

void ClassifyFileNode(Node& node, const Settings& settings) {
    const std::string name = WithoutQuotes(node.text());
    if (IsPoserFile(name)) {
        node.SetExpandedImage("PoserFile");
        node.SetImage("PoserFile");
        node.SetForeColor(settings.PoserFileColor);
    } else if (IsImageFile(name)) {
        node.SetExpandedImage("ImageFile");
        node.SetImage("ImageFile");
        node.SetForeColor(settings.ImageFileColor);
    } else if (IsSystemFile(name)) {
        node.SetExpandedImage("SystemFile");
        node.SetForeColor(settings.SystemFileColor);
        node.SetImage("SystemFile");
        node.SetTag(tag::kSystemFile);
    } else {
        node.SetExpandedImage("File");
        node.SetImage("File");
        node.SetForeColor(settings.OtherFileColor);
    }
}

Node* AddEmptyFolderNode(Node& parent) {
    return AddPlaceholder(parent, kEmptyFolderText, "Unable", tag::kUnable);
}
Node* AddFindLocationNode(Node& parent) {
    return AddPlaceholder(parent, kFindLocationText, "ClosedFolder", tag::kScan);
}
Node* AddScanForFileNode(Node& parent) {
    return AddPlaceholder(parent, kScanForFileText, "Scan", tag::kScanForFile);
}
Node* AddScanForFileInFileNode(Node& parent) {
    return AddPlaceholder(parent, kScanForFileInFileText, "Scan", tag::kScanForFileInFile);
}

}  // namespace bw
