#pragma once

namespace bw {

class AppState;

// A mouse press in the tree with button 1 (left) or 2 (right): remembers the button, then records
// the current node (if any) at the history position and makes Back available.
void RecordHistory(AppState& app, int button);
// Records the current node like a mouse press would, leaving LastMouseButton alone (keyboard
// moves).
void RecordVisit(AppState& app);
// One step back: selects the recorded node there. Entries whose node has left the tree are
// skipped; with no live entry behind, nothing changes but Back going unavailable.
void Back(AppState& app);
// One step forward, skipping entries whose node has left the tree, like Back.
void Forward(AppState& app);
// Collapses the current node, moves up to the nearest file, folder or drive, re-reads and opens
// it; Back and Forward become unavailable and the history position restarts at 0.
void RefreshCurrentNode(AppState& app);

}  // namespace bw
