#include "fileops/PrintContentOfNode.h"

namespace bw {

void PrintContentOfNode(AppState&) {}

}  // namespace bw
