#include "fileops/RenameThisNode.h"

#include <utility>
#include <vector>

#include "core/AppState.h"
#include "core/Desktop.h"
#include "core/ReportError.h"
#include "core/TreePopulation.h"
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

// Whether `to` names an entry other than `from`; a change of letter case only names the same one.
bool NameTaken(const FileSystem& fs, const std::string& from, const std::string& to) {
    if (!fs.FileExists(to) && !fs.FolderExists(to)) return false;
    return fs.HostPath(to, Lookup::IgnoringCase) != fs.HostPath(from, Lookup::AsWritten);
}

// The renames to carry out, the item first and then its existing companions. Every new name is
// checked before anything is renamed: a refused name, a companion the new name can not name, a
// name already taken or two of them the same throw, and every old name stays.
RenamePlan PlanRename(const FileSystem& fs, const std::string& folder, const std::string& oldName,
                      const std::string& newName) {
    if (!IsAcceptableName(newName)) throw PlatformError::FromNumber(err::kBadFileName);
    RenamePlan plan{{folder + oldName, folder + newName}};
    if (EndsInPoserExtension(oldName, LetterCase::Ignored)) {
        const auto oldCompanions = CompanionNames(oldName);
        const auto newCompanions = CompanionNames(newName);
        for (size_t i = 0; i < oldCompanions.size(); ++i) {
            const std::string from = folder + oldCompanions[i];
            if (!fs.FileExists(from, Lookup::AsWritten)) continue;
            if (newCompanions.empty()) throw PlatformError::FromNumber(err::kBadFileName);
            // A new extension alone leaves a companion's name as it is.
            if (oldCompanions[i] != newCompanions[i])
                plan.emplace_back(from, folder + newCompanions[i]);
        }
    }
    for (size_t i = 0; i < plan.size(); ++i) {
        if (NameTaken(fs, plan[i].first, plan[i].second))
            throw PlatformError::FromNumber(err::kFileAlreadyExists);
        for (size_t j = 0; j < i; ++j)
            if (AsciiEqualsIgnoreCase(plan[i].second, plan[j].second))
                throw PlatformError::FromNumber(err::kFileAlreadyExists);
    }
    return plan;
}

// Carries out the plan; when a rename fails after others were done they are undone, so the item
// and its companions keep matching names, and the failure is thrown. `itemRenamed` tells whether
// the item itself carries the new name, also after a failure whose undoing failed too.
void CarryOut(FileSystem& fs, const RenamePlan& plan, bool& itemRenamed) {
    size_t done = 0;
    try {
        for (; done < plan.size(); ++done) {
            fs.Rename(plan[done].first, plan[done].second);
            if (done == 0) itemRenamed = true;
        }
    } catch (const PlatformError&) {
        while (done-- > 0) {
            try {
                fs.Rename(plan[done].second, plan[done].first);
                if (done == 0) itemRenamed = false;
            } catch (const PlatformError&) {
                // The first failure is the one reported; the refill shows what stayed renamed.
            }
        }
        throw;
    }
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

    bool itemRenamed = false;
    try {
        CarryOut(*app.fs, PlanRename(*app.fs, folder, oldName, newName), itemRenamed);
    } catch (const PlatformError& e) {
        ReportError(app.desktop, e, "RenameThisNode");
    }
    const std::string shownName = itemRenamed ? newName : oldName;
    if (Node* n = handle.get()) n->SetText(shownName);
    // Listed again in every case, so the tree shows what the disk holds after a partial failure
    // too.
    if (Node* p = parent.get()) {
        ExpandNode(app, *p);
        if ((p = parent.get())) SelectRenamed(app, p, shownName);
    }
}

}  // namespace bw
