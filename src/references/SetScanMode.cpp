#include "references/SetScanMode.h"

#include "app/AppState.h"
#include "app/Desktop.h"

namespace bw {

void SetScanMode(AppState& app, bool show) { app.desktop.SetScanMode(show); }

}  // namespace bw
