#pragma once

#include <chrono>
#include <memory>

#include "platform/WindowList.h"

namespace bw {

// A window manager that grabs the server can hold every reply back; a walk waits this long.
inline constexpr std::chrono::milliseconds kWindowWalkTimeout{2000};

// The X11 display's top-level windows through xcb, bottom to top, hidden ones included; the title
// of a framed window is read from its client, and windows of this process are left out. An empty
// list without DISPLAY; a display that cannot be reached throws PlatformError; one that does not
// answer within `timeout` yields the titles read until then.
std::unique_ptr<WindowList> MakeXcbWindowList(
    std::chrono::milliseconds timeout = kWindowWalkTimeout);

}  // namespace bw
