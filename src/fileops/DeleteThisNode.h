#pragma once

namespace bw {

class AppState;

void DeleteThisNode(AppState& app);

}  // namespace bw
