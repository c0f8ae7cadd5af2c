#pragma once

namespace bw {

class AppState;

// True when another program's top-level window has a title holding "s Poser", or when the window
// list cannot be read at all. A desktop too slow to answer is not taken for a running Poser.
bool IsPoserRunning(AppState& app);

}  // namespace bw
