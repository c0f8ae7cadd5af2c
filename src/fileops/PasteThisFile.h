#pragma once

namespace bw {

class AppState;

void PasteThisFile(AppState& app);

}  // namespace bw
