#pragma once

#include <memory>

#include "platform/Shell.h"

namespace bw {

// The Linux desktop's shell: the freedesktop trash, xdg-mime and xdg-open.
std::unique_ptr<Shell> MakeDesktopShell();

}  // namespace bw
