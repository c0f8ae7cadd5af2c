#include "references/FindReferencedFile.h"

namespace bw {

void FindReferencedFile(AppState&, Node&) {}

}  // namespace bw
