#include "references/FillFileInfo.h"

#include "core/AppState.h"
#include "core/Classification.h"
#include "core/Desktop.h"
#include "core/ReportError.h"
#include "core/TreePopulation.h"
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

// Says under the file how many references were too long to list, so their absence is explained.
void AddSkippedNotice(AppState& app, Node& fileNode, size_t skipped) {
    if (skipped == 0) return;
    Node* node = app.tree.AddChild(&fileNode);
    node->SetText(SkippedLongReferencesText(skipped));
    node->SetTag(tag::kNotFound);
    node->SetImage("Properties");
    node->SetExpandedImage("Properties");
    node->SetForeColor(0);
}

}  // namespace

std::string SkippedLongReferencesText(size_t skipped) {
    const std::string limit =
        " longer than " + std::to_string(kMaxReferenceLength) + " characters ";
    return "(" + std::to_string(skipped) + (skipped == 1 ? " reference" : " references") + limit +
           (skipped == 1 ? "was" : "were") + " not listed.)";
}

void FillFileInfo(AppState& app, Node& fileNode) {
    app.desktop.SetBusy(true);
    ReferenceReader reader;
    try {
        ClearChildNodes(app, fileNode);
        const std::string bytes = app.fs->ReadFile(fileNode.FullPath());
        for (std::string_view line : SplitLines(bytes)) {
            auto reference = reader.ReadLine(line);
            if (!reference) continue;
            AddReferenceNode(app, fileNode, *reference);
            reader.CarryUnquoted();
        }
        AddSkippedNotice(app, fileNode, reader.skippedLong());
        if (reader.candidateLines() < 1) AddScanForFileNode(fileNode);
    } catch (const PlatformError& e) {
        AddSkippedNotice(app, fileNode, reader.skippedLong());
        app.desktop.SetBusy(false);
        ReportError(app.desktop, e, "FillFileInfo: " + fileNode.text());
        return;
    }
    app.desktop.SetBusy(false);
}

}  // namespace bw
