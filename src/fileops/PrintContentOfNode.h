#pragma once

namespace bw {

class AppState;

void PrintContentOfNode(AppState& app);

}  // namespace bw
