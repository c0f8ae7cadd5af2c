#include "references/FindReferencedFile.h"

#include "core/AppState.h"
#include "core/Desktop.h"
#include "core/TreePopulation.h"
#include "references/ReferenceExtraction.h"
#include "references/SearchThroughThisFolder.h"

namespace bw {

void FindReferencedFile(AppState& app, Node& scanNode) {
    Node* referenceNode = scanNode.parent();
    if (!referenceNode) return;
    app.desktop.SetCaption(std::string(kAppTitle) + "... (scanning)");
    app.desktop.SetBusy(true);
    ClearChildNodes(app, scanNode);
    const std::string reference = WithoutQuotes(referenceNode->text());
    const std::string start = StartFolderFor(reference, app.settings.Runtime);
    SetResultState(scanNode, "Scanning, please wait...", tag::kReference, "Scan");

    // The search yields to the window: from here on the node is reached only through its handle.
    const NodeHandle container(&scanNode);
    SearchThroughThisFolder(app, container, start, reference);

    if (Node* node = container.get()) {
        node->SetExpanded(true);
        if (node->childCount() == 0)
            SetResultState(*node, "(Referenced file not found under Runtime\\ folder)",
                           tag::kNotFound, "Properties");
        else
            SetResultState(*node, "Referenced file found in:", tag::kReference, "ClosedFolder");
    }
    app.desktop.SetBusy(false);
}

}  // namespace bw
