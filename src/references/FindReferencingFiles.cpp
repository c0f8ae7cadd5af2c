#include "references/FindReferencingFiles.h"

#include "core/AppState.h"
#include "core/Desktop.h"
#include "core/TreePopulation.h"
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
        // After a skip the answer is incomplete and must say so: "not referenced" would invite
        // deleting a file that an unread library file may well use.
        const bool skipped = outcome.skippedFiles + outcome.skippedFolders > 0;
        if (node->childCount() > 0) {
            SetResultState(*node, "This file is referenced by:", tag::kReference, "ClosedFolder");
            if (skipped) {
                Node* notice = app.tree.AddChild(node);
                SetResultState(*notice, ScanIncompleteText(outcome, true), tag::kUnable, "Unable");
            }
        } else if (app.StopScanRequested) {
            SetResultState(*node, "<<Scan process stopped before completion>>", tag::kUnable,
                           "Unable");
        } else if (skipped) {
            SetResultState(*node, ScanIncompleteText(outcome, false), tag::kUnable, "Unable");
        } else {
            SetResultState(*node, "(This file is not referenced by any other files.)",
                           tag::kNotFound, "Properties");
        }
    }
    SetScanMode(app, false);
}

std::string ScanIncompleteText(const FileScanOutcome& outcome, bool found) {
    const auto count = [](size_t n, const char* what) {
        return std::to_string(n) + " " + what + (n == 1 ? "" : "s");
    };
    std::string unread;
    if (outcome.skippedFiles > 0) unread = count(outcome.skippedFiles, "file");
    if (outcome.skippedFiles > 0 && outcome.skippedFolders > 0) unread += " and ";
    if (outcome.skippedFolders > 0) unread += count(outcome.skippedFolders, "folder");
    return "(Scan incomplete: " + unread + " could not be read, so " +
           (found ? "other files may reference this one too.)"
                  : "this file may still be referenced.)");
}

}  // namespace bw
