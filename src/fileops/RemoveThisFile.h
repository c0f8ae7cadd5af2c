#pragma once

#include <string>

namespace bw {

class AppState;

// Removes the file or folder (with its contents) at exactly this full path, letter case included:
// to the trash when the MoveFile setting is on, else permanently. Failures are reported under
// "RemoveThisFile: <path>". True when nothing is left at the path afterwards (also when nothing
// was there).
bool RemoveThisFile(AppState& app, const std::string& path);

// The same removal for callers that gather failures and report them together: a failure throws
// PlatformError, also when the call seemed to succeed but something is left at the path.
void RemoveThisFileOrThrow(AppState& app, const std::string& path);

}  // namespace bw
