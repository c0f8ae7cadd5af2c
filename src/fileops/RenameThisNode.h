#pragma once

namespace bw {

class AppState;

void RenameThisNode(AppState& app);

}  // namespace bw
