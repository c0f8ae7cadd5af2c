#include "dialogs/PoserRunning.h"

namespace bw {

bool IsPoserRunning(AppState&) { return false; }

}  // namespace bw
