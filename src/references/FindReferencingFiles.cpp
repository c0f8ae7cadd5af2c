#include "references/FindReferencingFiles.h"

#include "app/AppState.h"
#include "app/Desktop.h"
#include "browser/TreePopulation.h"
#include "platform/Text.h"
#include "references/SearchThroughFilesForFile.h"
#include "references/SearchThroughThisFolder.h"
#include "references/SetScanMode.h"

namespace bw {

void FindReferencingFiles(AppState& app, Node& scanNode) {
    Node* fileNode = scanNode.parent();
    if (!fileNode) return;
    SetScanMode(app, true);
    app.StopScanRequested = false;
    app.desktop.SetScanCaption("Scanning for " + fileNode->text());
    app.desktop.SetScanStatus("Starting...");
    app.desktop.SetScanProgress(0);
    ClearChildNodes(app, scanNode);
    SetResultState(scanNode, "Scanning, please wait...", tag::kReference, "Scan");
    const std::string target = AsciiLower(fileNode->text());

    // The scan yields to the window: from here on the node is reached only through its handle.
    const NodeHandle container(&scanNode);
    const FileScanOutcome outcome = SearchThroughFilesForFile(
        app, container, RuntimeRoot(app.settings.Runtime) + "\\Libraries", target);

    if (Node* node = container.get()) {
        node->SetExpanded(true);
        if (node->childCount() > 0)
            SetResultState(*node, "This file is referenced by:", tag::kReference, "ClosedFolder");
        else if (app.StopScanRequested || outcome.folderUnreadable)
            SetResultState(*node, "<<Scan process stopped before completion>>", tag::kUnable,
                           "Unable");
        else
            SetResultState(*node, "(This file is not referenced by any other files.)",
                           tag::kNotFound, "Properties");
    }
    SetScanMode(app, false);
}

}  // namespace bw
