#pragma once

namespace bw {

class AppState;
class Node;

// Repairs the reference of the current Discrepancy node in its library file.
void UpdateOBJPath(AppState& app);

}  // namespace bw
