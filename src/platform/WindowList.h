#pragma once

#include <string>
#include <vector>

namespace bw {

// The desktop's top-level windows, bottom to top in stacking order, hidden ones included.
class WindowList {
  public:
    virtual ~WindowList() = default;
    // Titles of the top-level windows of other programs (this program's own are left out). A
    // desktop that does not answer in time yields the titles read until then; throws
    // PlatformError when the list cannot be read at all.
    virtual std::vector<std::string> Titles() = 0;
};

}  // namespace bw
