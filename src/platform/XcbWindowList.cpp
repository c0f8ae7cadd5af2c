#include "platform/XcbWindowList.h"

namespace bw {

std::unique_ptr<WindowList> MakeXcbWindowList() { return nullptr; }

}  // namespace bw
