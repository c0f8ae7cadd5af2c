#include "repair/RowChanges.h"

#include "references/ReplacePlan.h"

namespace bw::repair {

ReferenceChange ChangeForRow(const check::CheckRow& row, const std::string& chosenHostPath,
                             const DriveMap& drives) {
    // The rules write the reference in double quotes; a change holds it without them.
    const std::string quoted =
        NewReferenceFromLocation("Found in: " + drives.ToWindows(chosenHostPath));
    return {row.file, row.line, row.reference, quoted.substr(1, quoted.size() - 2)};
}

std::vector<ReferenceChange> RepairableChanges(const std::vector<check::CheckRow>& rows,
                                               const DriveMap& drives) {
    std::vector<ReferenceChange> changes;
    for (const auto& row : rows) {
        if (row.status == check::RefStatus::Moved && row.candidates.size() == 1)
            changes.push_back(ChangeForRow(row, row.candidates.front(), drives));
    }
    return changes;
}

}  // namespace bw::repair
