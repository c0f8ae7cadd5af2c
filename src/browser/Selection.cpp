#include "browser/Selection.h"

#include "app/AppState.h"

namespace bw {

void SelectThisNode(AppState& app, Node* node) { app.CurrentNode = NodeHandle(node); }

void EnableCutCopy(AppState&, bool) {}

}  // namespace bw
