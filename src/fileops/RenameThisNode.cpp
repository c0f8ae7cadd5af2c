#include "fileops/RenameThisNode.h"

namespace bw {

void RenameThisNode(AppState&) {}

}  // namespace bw
