#include "references/FindReferencingFiles.h"

namespace bw {

void FindReferencingFiles(AppState&, Node&) {}

}  // namespace bw
