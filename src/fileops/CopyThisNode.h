#pragma once

namespace bw {

class AppState;

void CopyThisNode(AppState& app);

}  // namespace bw
