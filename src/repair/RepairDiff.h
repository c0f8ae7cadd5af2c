#pragma once

#include <ostream>
#include <string>

#include "repair/RepairBatch.h"

namespace bw::repair {

// The plan as a unified diff without context: "--- a/<file>" and "+++ b/<file>", then one "@@" hunk
// per changed line. Files below `base` (a host folder) are named from there, others by their whole
// path; a compressed file shows its inflated text.
void WriteUnifiedDiff(std::ostream& out, const RepairPlan& plan, const std::string& base);

}  // namespace bw::repair
