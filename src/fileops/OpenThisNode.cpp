#include "fileops/OpenThisNode.h"

namespace bw {

void OpenThisNode(AppState&) {}

}  // namespace bw
