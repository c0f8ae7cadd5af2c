#pragma once

#include <string>

namespace bw {

class FileSystem;

// Moves a file or folder where a rename can not (another file system): copies it, checks the copy
// entry by entry and byte by byte, and only then deletes the source. A failed copy leaves nothing,
// an unequal one is taken away again, and the source stays. Throws 58 when the destination
// already exists, 75 when the source holds a pipe, socket or device.
void MoveAcrossDrives(FileSystem& fs, const std::string& source, const std::string& destination);

}  // namespace bw
