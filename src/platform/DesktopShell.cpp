#include "platform/DesktopShell.h"

namespace bw {

std::unique_ptr<Shell> MakeDesktopShell() { return nullptr; }

}  // namespace bw
