#include "references/UpdateOBJPath.h"

#include <array>

#include "core/AppState.h"
#include "core/Classification.h"
#include "core/Desktop.h"
#include "core/ReportError.h"
#include "core/TreePopulation.h"
#include "platform/PlatformError.h"
#include "references/ReferenceExtraction.h"
#include "references/ReplaceFileSafely.h"
#include "references/ReplacePlan.h"

namespace bw {

namespace {

void ShowReadyToList(AppState& app, Node& fileNode) {
    fileNode.SetExpanded(false);
    CollapseNode(app, fileNode);
    ClearChildNodes(app, fileNode);
    AddScanForFileNode(fileNode);
    fileNode.SetExpanded(true);
    app.tree.SetSelected(&fileNode);
}

}  // namespace

void UpdateOBJPath(AppState& app) {
    Node* discrepancy = app.CurrentNode.get();
    if (!discrepancy || discrepancy->tag() != tag::kDiscrepancy) return;
    // Location, results container, reference, library file, its folder: in that order upwards.
    std::array<Node*, 5> up{};
    Node* n = discrepancy;
    for (auto& ancestor : up) {
        n = n ? n->parent() : nullptr;
        if (!n) return;
        ancestor = n;
    }
    Node& fileNode = *up[3];

    app.desktop.SetBusy(true);
    const std::string filePath = fileNode.FullPath();
    const std::string folderPath = up[4]->FullPath();
    const std::string oldReference = WithoutQuotes(up[2]->text());
    const std::string newReference = NewReferenceFromLocation(up[0]->text());
    try {
        // A folder name holding a line end would split the library file's line in two.
        if (newReference.find_first_of("\r\n") != std::string::npos)
            throw PlatformError::FromNumber(err::kBadFileName);
        const std::string bytes = app.fs->ReadFile(filePath);
        const std::string repaired = RewriteReferences(bytes, oldReference, newReference);
        std::optional<std::string> backup;
        if (app.settings.BackUpFigure) backup = BackupPathOf(filePath);
        ReplaceFileSafely(*app.fs, folderPath, filePath, repaired, backup);
    } catch (const PlatformError& e) {
        app.desktop.SetBusy(false);
        ReportError(app.desktop, e, "UpdateOBJPath");
        return;
    }
    ShowReadyToList(app, fileNode);
    app.desktop.SetCaption(std::string(kAppTitle) + ": " + filePath);
    app.desktop.SetBusy(false);
}

}  // namespace bw
