#include "fileops/DeleteThisNode.h"

namespace bw {

void DeleteThisNode(AppState&) {}

}  // namespace bw
