#pragma once

#include <string>
#include <string_view>

namespace bw {

class Node;

enum class PreviewKind { Nothing, Folder, Image, Library, Geometry, Other };

// What the pane is asked to show: the kind decides which facts are gathered.
struct PreviewRequest {
    PreviewKind kind = PreviewKind::Nothing;
    std::string path;  // Windows path; a folder's ends in "\"
    std::string name;  // as the tree shows it
    bool operator==(const PreviewRequest&) const = default;
};

// The kind of a file by its name: geometry (.obj) before library files, then pictures.
PreviewKind PreviewKindOfFile(std::string_view name);

// The request for a tree node: drives and folders, files by name; anything else (reference lines,
// placeholders, no node) is Nothing. Reads no disk, so it is cheap on every selection.
PreviewRequest PreviewRequestFor(const Node* node);

}  // namespace bw
