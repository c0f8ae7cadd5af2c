#include "fileops/CutThisNode.h"

#include "fileops/Clipboard.h"

namespace bw {

void CutThisNode(AppState& app) { RememberThisNode(app, ClipboardAction::Cut); }

}  // namespace bw
