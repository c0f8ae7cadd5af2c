#include "fileops/CopyThisNode.h"

#include "fileops/Clipboard.h"

namespace bw {

void CopyThisNode(AppState& app) { RememberThisNode(app, ClipboardAction::Copy); }

}  // namespace bw
