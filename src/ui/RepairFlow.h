#pragma once

#include <string>
#include <vector>

#include "repair/ReferenceChange.h"

class QWidget;

namespace bw {

class AppState;

// A batch repair as the user goes through it: the plan worked out under the wait cursor, the
// preview, then, on Apply, the files written one by one with progress and Cancel (stopping
// between files), and a box telling what was repaired and what was not. The old bytes go to a
// journal under `journalRoot`. True when any file was written.
bool RunRepairBatch(AppState& app, QWidget* owner,
                    const std::vector<repair::ReferenceChange>& changes,
                    const std::string& journalRoot);

// Undo Last Repair: asks first, puts back the files the newest batch not yet undone changed, and
// tells what was restored and what was left because it changed since. True when any file was
// restored.
bool RunUndoLastRepair(AppState& app, QWidget* owner, const std::string& journalRoot);

}  // namespace bw
