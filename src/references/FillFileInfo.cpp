#include "references/FillFileInfo.h"

namespace bw {

void FillFileInfo(AppState&, Node&) {}

}  // namespace bw
