#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace bw {

class FileSystem;

enum class LetterCase { Significant, Ignored };

// The name's last three characters occur in the Poser extension list (past its leading commas).
bool EndsInPoserExtension(std::string_view name, LetterCase letterCase);

// The thumbnail companions of a library file name, ".rsr" first and ".png" second: the name with
// its last three characters (the extension) replaced. Empty when the name is too short to have one.
std::vector<std::string> CompanionNames(std::string_view name);

// The companions that go with the file or folder at this Windows path when it is removed: those
// beside it named exactly after it (one differing only in case belongs to another file), when
// something is there and its name ends in a Poser extension (in that case); else none.
std::vector<std::string> CompanionsToRemove(const FileSystem& fs, const std::string& path);

}  // namespace bw
