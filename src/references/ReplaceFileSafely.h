#pragma once

#include <optional>
#include <string>

namespace bw {

class FileSystem;

// Puts `bytes` in place of the file at `path`, in `folder` (the file's own folder), so that the
// file is never missing or half written: the bytes go to a new file beside it and reach the disk,
// the old contents are kept under `backupPath` when one is given (replacing an older backup only
// once the new one is complete), and the new file then takes the old name in one step. Throws
// PlatformError; after a failure `path` holds its old contents and no temporary file is left.
void ReplaceFileSafely(FileSystem& fs, const std::string& folder, const std::string& path,
                       const std::string& bytes, const std::optional<std::string>& backupPath);

}  // namespace bw
