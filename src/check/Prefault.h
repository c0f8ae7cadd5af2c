#pragma once

#include <cstddef>

namespace bw::check {

// Maps in at once the pages of a large buffer about to be written through: one call instead of a
// page fault per page, which costs far more on some virtual machines. Harmless where unsupported.
void Prefault(void* data, size_t size);

}  // namespace bw::check
