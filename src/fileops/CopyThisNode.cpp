#include "fileops/CopyThisNode.h"

namespace bw {

void CopyThisNode(AppState&) {}

}  // namespace bw
