#include "repair/MovePlan.h"

#include <algorithm>
#include <set>

#include "check/ReferenceResolver.h"
#include "platform/PlatformError.h"
#include "platform/Text.h"
#include "references/ReplacePlan.h"
#include "repair/ReferenceUse.h"

namespace bw::repair {

namespace {

// The reference a repair writes for the file at `relative` below the Runtime folder, checked to
// read back as that very path: a name holding ":" or "\", or one the reading drops (".", ".."),
// would send it elsewhere, and a line end or quote would break the library file's line.
std::string NewReference(const std::string& runtime, const std::string& relative) {
    const std::string runtimeName = runtime.substr(runtime.rfind('/') + 1);
    std::string reference = WithoutQuotes(NewReferenceFromLocation(
        "Found in: \\" + runtimeName + "\\" + ReplaceAll(relative, "/", "\\")));
    const auto readBack = check::RuntimeRelativeOf(reference, runtime, DriveMap::FromDrives({}));
    if (relative.find_first_of("\r\n\"") != std::string::npos || !readBack ||
        !AsciiEqualsIgnoreCase(*readBack, relative))
        throw PlatformError::FromNumber(err::kBadFileName);
    return reference;
}

}  // namespace

std::optional<MovePlan> PlanMoveRewrite(const ReferenceIndex& index, const std::string& oldPath,
                                        const std::string& newPath) {
    if (!index.fresh()) return std::nullopt;
    const std::string& runtime = index.runtime();
    const auto oldRelative = RelativeBelow(oldPath, runtime);
    const auto newRelative = RelativeBelow(newPath, runtime);
    if (!newRelative) throw PlatformError::FromNumber(err::kBadFileName);
    MovePlan plan;
    // Nothing of this Runtime folder named what came from elsewhere; and references resolve
    // letter case aside, so a change of case alone leaves them all valid.
    if (!oldRelative || AsciiEqualsIgnoreCase(*oldRelative, *newRelative)) return plan;

    std::set<std::string> files;
    auto uses = index.UsesOf(oldPath);
    for (auto& use : *uses) {
        // A reference that found the file only by its name does not point here; the repair of
        // that reference decides where it goes.
        if (!use.named) continue;
        ReferenceChange change;
        // A library file that moved along is rewritten where it now lies.
        const auto fileBelow = RelativeBelow(use.file, runtime);
        change.file = fileBelow && IsAtOrUnder(*fileBelow, *oldRelative)
                          ? runtime + "/" + *newRelative + fileBelow->substr(oldRelative->size())
                          : use.file;
        change.line = use.line;
        change.oldReference = std::move(use.reference);
        change.newReference =
            NewReference(runtime, *newRelative + use.used.substr(oldRelative->size()));
        files.insert(change.file);
        plan.changes.push_back(std::move(change));
    }
    std::sort(plan.changes.begin(), plan.changes.end(), [](const auto& a, const auto& b) {
        return a.file != b.file ? a.file < b.file : a.line < b.line;
    });
    plan.fileCount = files.size();
    return plan;
}

}  // namespace bw::repair
