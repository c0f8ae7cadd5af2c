#pragma once

#include <memory>

#include "platform/WindowList.h"

namespace bw {

// The X11 display's top-level windows through xcb, bottom to top, hidden ones included; the title
// of a framed window is read from its client. An empty list without DISPLAY; a display that cannot
// be reached, or does not answer within two seconds, throws PlatformError.
std::unique_ptr<WindowList> MakeXcbWindowList();

}  // namespace bw
