#include "references/UpdateOBJPath.h"

namespace bw {

void UpdateOBJPath(AppState&) {}

}  // namespace bw
