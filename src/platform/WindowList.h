#pragma once

#include <string>
#include <vector>

namespace bw {

// The desktop's top-level windows, bottom to top in stacking order, hidden ones included.
class WindowList {
  public:
    virtual ~WindowList() = default;
    // Titles of the top-level windows; throws PlatformError when the list cannot be read.
    virtual std::vector<std::string> Titles() = 0;
};

}  // namespace bw
