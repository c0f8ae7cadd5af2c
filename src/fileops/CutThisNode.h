#pragma once

namespace bw {

class AppState;

void CutThisNode(AppState& app);

}  // namespace bw
