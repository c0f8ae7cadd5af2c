#pragma once

#include <string>

namespace bw {

class AppState;

// Writes an export to the host path the user chose in a save-file chooser, all-or-nothing, with
// the wait cursor on: `extension` (".csv") is added when the chosen name has none, as a save
// dialog would. The path written; empty after a failure, which is reported under
// `procedureName`.
std::string SaveChosenFile(AppState& app, std::string chosen, const char* extension,
                           const std::string& bytes, const std::string& procedureName);

}  // namespace bw
