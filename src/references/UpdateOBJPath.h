#pragma once

namespace bw {

class AppState;

// Repairs the library file above the current Discrepancy node: every line naming the old reference
// is made to name the folder where the file was found, the old file is kept as ".bak" when
// BackUpFigure is on, and the file's node is shown ready to be listed again. The user's file is
// never lost: on any failure it keeps its old contents and the error is reported as
// "UpdateOBJPath".
void UpdateOBJPath(AppState& app);

}  // namespace bw
