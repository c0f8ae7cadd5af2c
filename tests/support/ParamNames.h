#pragma once

#include <string>

namespace bw::test {

// Names parameterised cases after their `what`, written as an identifier.
inline const auto ByWhat = [](const auto& info) { return std::string(info.param.what); };

}  // namespace bw::test
