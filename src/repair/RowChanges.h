#pragma once

#include <string>
#include <vector>

#include "check/CheckTypes.h"
#include "platform/DriveMap.h"
#include "repair/ReferenceChange.h"

namespace bw::repair {

// The change that points a check row's reference at `chosenHostPath` (its one candidate for a moved
// row, the one the user picked for an ambiguous one), written as the single repair writes it: the
// path from "\Runtime" on with ":" for "\".
ReferenceChange ChangeForRow(const check::CheckRow& row, const std::string& chosenHostPath,
                             const DriveMap& drives);

// A change for every row that needs no choice: moved, with exactly one candidate.
std::vector<ReferenceChange> RepairableChanges(const std::vector<check::CheckRow>& rows,
                                               const DriveMap& drives);

}  // namespace bw::repair
