#include "fileops/CutThisNode.h"

namespace bw {

void CutThisNode(AppState&) {}

}  // namespace bw
