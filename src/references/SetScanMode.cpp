#include "references/SetScanMode.h"

#include "core/AppState.h"
#include "core/Desktop.h"

namespace bw {

void SetScanMode(AppState& app, bool show) { app.desktop.SetScanMode(show); }

}  // namespace bw
