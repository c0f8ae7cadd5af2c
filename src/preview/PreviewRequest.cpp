#include "preview/PreviewRequest.h"

#include "core/Classification.h"
#include "core/Node.h"
#include "platform/Text.h"

namespace bw {

PreviewKind PreviewKindOfFile(std::string_view name) {
    if (EndsWith(AsciiLower(name), ".obj")) return PreviewKind::Geometry;
    if (IsPoserFile(name)) return PreviewKind::Library;
    if (IsImageFile(name)) return PreviewKind::Image;
    return PreviewKind::Other;
}

PreviewRequest PreviewRequestFor(const Node* node) {
    if (!node) return {};
    const std::string& t = node->tag();
    if (t == tag::kDrive || t == tag::kFolder || t == tag::kSystemFolder)
        return {PreviewKind::Folder, node->FullPath() + "\\", node->text()};
    if (t == tag::kFile || t == tag::kSystemFile) {
        const std::string name = WithoutQuotes(node->text());
        return {PreviewKindOfFile(name), node->FullPath(), node->text()};
    }
    return {};
}

}  // namespace bw
