#pragma once

#include <memory>

#include "platform/WindowList.h"

namespace bw {

// The X11 display's top-level windows through xcb; an empty list without a display.
std::unique_ptr<WindowList> MakeXcbWindowList();

}  // namespace bw
