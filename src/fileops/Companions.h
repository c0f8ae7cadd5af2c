#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace bw {

enum class LetterCase { Significant, Ignored };

// The name's last three characters occur in the Poser extension list (past its leading commas).
bool EndsInPoserExtension(std::string_view name, LetterCase letterCase);

// The thumbnail companions of a library file name, ".rsr" first and ".png" second: the name with
// its last three characters (the extension) replaced. Empty when the name is too short to have one.
std::vector<std::string> CompanionNames(std::string_view name);

}  // namespace bw
