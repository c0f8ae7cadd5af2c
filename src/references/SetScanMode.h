#pragma once

namespace bw {

class AppState;

// Shows the scan panel and takes every other control out of use (show true), or gives them back.
void SetScanMode(AppState& app, bool show);

}  // namespace bw
