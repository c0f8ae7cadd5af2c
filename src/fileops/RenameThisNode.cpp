#include "fileops/RenameThisNode.h"

#include <utility>
#include <vector>

#include "app/AppState.h"
#include "app/Desktop.h"
#include "app/ReportError.h"
#include "browser/TreePopulation.h"
#include "fileops/Companions.h"
#include "platform/PlatformError.h"
#include "platform/Text.h"

namespace bw {

namespace {

// Characters the user's Windows content can not carry in a name; "\" and "/" would also move the
// item into another folder instead of renaming it.
bool IsAcceptableName(const std::string& name) {
    if (name == "." || name == "..") return false;
    for (unsigned char ch : name)
        if (ch < 32 ||
            std::string_view("\\/:*?\"<>|").find(static_cast<char>(ch)) != std::string_view::npos)
            return false;
    return true;
}

using RenamePlan = std::vector<std::pair<std::string, std::string>>;

// The renames to carry out, the item first and then its existing companions; throws when the new
// name is refused or can not name a companion, before anything is renamed.
RenamePlan PlanRename(const FileSystem& fs, const std::string& folder, const std::string& oldName,
                      const std::string& newName) {
    if (!IsAcceptableName(newName)) throw PlatformError::FromNumber(err::kBadFileName);
    RenamePlan plan{{folder + oldName, folder + newName}};
    if (!EndsInPoserExtension(oldName, LetterCase::Ignored)) return plan;
    const auto oldCompanions = CompanionNames(oldName);
    const auto newCompanions = CompanionNames(newName);
    for (size_t i = 0; i < oldCompanions.size(); ++i) {
        const std::string from = folder + oldCompanions[i];
        if (!fs.FileExists(from)) continue;
        if (newCompanions.empty()) throw PlatformError::FromNumber(err::kBadFileName);
        plan.emplace_back(from, folder + newCompanions[i]);
    }
    return plan;
}

// After the parent's refill the renamed item's node is a new one; it becomes the selection again.
void SelectRenamed(AppState& app, Node* parent, const std::string& name) {
    for (const auto& child : parent->children()) {
        if (child->text() != name) continue;
        app.CurrentNode = NodeHandle(child.get());
        app.tree.SetSelected(child.get());
        app.desktop.SetCaption(std::string(kAppTitle) + ": " + child->FullPath());
        return;
    }
}

}  // namespace

void RenameThisNode(AppState& app) {
    Node* node = app.CurrentNode.get();
    if (!node) return;
    const std::string tagName = node->tag();
    if (tagName != tag::kFolder && tagName != tag::kFile) return;
    const std::string oldName = node->text();
    const std::string path = node->FullPath();
    const std::string folder = path.substr(0, path.size() - oldName.size());
    NodeHandle handle(node);
    NodeHandle parent(node->parent());

    const std::string newName = app.desktop.ShowInputBox(
        "Enter a new name for this " + tagName + ". ", style::kAlert, "Enter a new name", oldName);
    if (newName.empty() || newName == oldName) return;

    std::string shownName = oldName;
    try {
        const RenamePlan plan = PlanRename(*app.fs, folder, oldName, newName);
        for (size_t i = 0; i < plan.size(); ++i) {
            app.fs->Rename(plan[i].first, plan[i].second);
            if (i == 0) {
                shownName = newName;
                if (Node* n = handle.get()) n->SetText(newName);
            }
        }
    } catch (const PlatformError& e) {
        ReportError(app.desktop, e, "RenameThisNode");
    }
    // Listed again in every case, so the tree shows what the disk holds after a partial failure
    // too.
    if (Node* p = parent.get()) {
        ExpandNode(app, *p);
        if ((p = parent.get())) SelectRenamed(app, p, shownName);
    }
}

}  // namespace bw
