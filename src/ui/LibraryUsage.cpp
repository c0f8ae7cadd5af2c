#include "ui/LibraryUsage.h"

#include <memory>

#include "check/CheckCache.h"
#include "core/AppState.h"
#include "core/Desktop.h"
#include "core/ReportError.h"
#include "platform/PlatformError.h"
#include "repair/MovePlan.h"
#include "repair/ReferenceIndex.h"
#include "repair/RuntimeFolderOf.h"

namespace bw {

namespace {

std::string ParentOf(const std::string& hostPath) {
    const size_t slash = hostPath.find_last_of('/');
    return slash == std::string::npos || slash == 0 ? "/" : hostPath.substr(0, slash);
}

}  // namespace

LibraryUsage::LibraryUsage(AppState& app)
    : cachePath(check::CheckCache::DefaultPath()), app_(app) {}

std::optional<ContentUsage::Users> LibraryUsage::UsersOf(const std::string& hostPath) {
    const auto runtime = repair::RuntimeFolderOf(hostPath);
    if (!runtime) return std::nullopt;
    try {
        app_.desktop.SetBusy(true);
        const auto index = repair::ReferenceIndex::Load(*runtime, cachePath, app_.fs->driveMap());
        app_.desktop.SetBusy(false);
        const auto users = index.UsersOf(hostPath);
        if (!users) return std::nullopt;
        Users out;
        out.count = users->size();
        if (!users->empty()) out.first = app_.fs->WindowsPath(users->front());
        return out;
    } catch (const PlatformError&) {
        // Not knowing who uses it is no reason to stop a delete: the usual question follows.
        app_.desktop.SetBusy(false);
        return std::nullopt;
    }
}

std::function<void()> LibraryUsage::PrepareMove(const std::string& oldHostPath,
                                                const std::string& newHostPath) {
    if (!repairChanges) return {};
    const auto runtime = repair::RuntimeFolderOf(oldHostPath);
    if (!runtime || repair::RuntimeFolderOf(ParentOf(newHostPath)) != runtime) return {};
    std::shared_ptr<repair::ReferenceIndex> index;
    try {
        app_.desktop.SetBusy(true);
        index = std::make_shared<repair::ReferenceIndex>(
            repair::ReferenceIndex::Load(*runtime, cachePath, app_.fs->driveMap()));
        app_.desktop.SetBusy(false);
    } catch (const PlatformError&) {
        app_.desktop.SetBusy(false);
        return {};
    }
    if (!index->fresh()) return {};
    const auto users = index->UsersOf(oldHostPath);
    if (!users || users->empty()) return {};
    return [this, index, oldHostPath, newHostPath] {
        try {
            const auto plan = repair::PlanMoveRewrite(*index, oldHostPath, newHostPath);
            if (!plan || plan->fileCount == 0) return;
            const std::string prompt =
                std::to_string(plan->fileCount) +
                " library files name what you moved. Update their references?";
            if (app_.desktop.ShowMsgBox(prompt, style::kYesNo,
                                        "Update References") != answer::kYes)
                return;
            repairChanges(plan->changes);
        } catch (const PlatformError& e) {
            ReportError(app_.desktop, e, "PrepareMove");
        }
    };
}

}  // namespace bw
