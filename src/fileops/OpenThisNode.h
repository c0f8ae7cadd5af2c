#pragma once

namespace bw {

class AppState;

void OpenThisNode(AppState& app);

}  // namespace bw
