#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace bw {

// The data of the first resource of a four-character `type` ("PICT") listed in a raw Macintosh
// resource fork; none when the fork holds no such resource or is not a well-formed fork.
std::optional<std::string> FindResource(std::string_view fork, std::string_view type);

}  // namespace bw
