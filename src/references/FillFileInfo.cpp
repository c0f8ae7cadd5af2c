#include "references/FillFileInfo.h"

#include "app/AppState.h"
#include "app/Desktop.h"
#include "app/ReportError.h"
#include "browser/Classification.h"
#include "browser/TreePopulation.h"
#include "platform/PlatformError.h"
#include "platform/Text.h"
#include "references/ReferenceExtraction.h"

namespace bw {

namespace {

void AddReferenceNode(AppState& app, Node& fileNode, const std::string& path) {
    Node* node = app.tree.AddChild(&fileNode);
    node->SetText(path);
    node->SetKey(fileNode.key() + "_" + path + std::to_string(node->index()));
    ClassifyFileNode(*node, app.settings);
    node->SetTag(tag::kReferencedFile);
    node->SetImage("Properties");
    node->SetExpandedImage("Properties");
    if (IsLocatable(path)) AddFindLocationNode(*node);
}

}  // namespace

void FillFileInfo(AppState& app, Node& fileNode) {
    app.desktop.SetBusy(true);
    try {
        ClearChildNodes(app, fileNode);
        const std::string bytes = app.fs->ReadFile(fileNode.FullPath());
        ReferenceReader reader;
        for (std::string_view line : SplitLines(bytes)) {
            auto reference = reader.ReadLine(line);
            if (!reference) continue;
            AddReferenceNode(app, fileNode, *reference);
            reader.CarryUnquoted();
        }
        if (reader.candidateLines() < 1) AddScanForFileNode(fileNode);
    } catch (const PlatformError& e) {
        app.desktop.SetBusy(false);
        ReportError(app.desktop, e, "FillFileInfo: " + fileNode.text());
        return;
    }
    app.desktop.SetBusy(false);
}

}  // namespace bw
