#pragma once

namespace bw {

class AppState;

// True when a top-level window whose title holds "s Poser" exists (or the windows cannot be read).
bool IsPoserRunning(AppState& app);

}  // namespace bw
