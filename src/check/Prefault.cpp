#include "check/Prefault.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>

namespace bw::check {

namespace {
#ifndef MADV_POPULATE_WRITE
constexpr int MADV_POPULATE_WRITE = 23;  // Linux 5.14
#endif
constexpr size_t kWorthIt = 256 * 1024;  // below this, the faults cost little
}  // namespace

void Prefault(void* data, size_t size) {
    if (size < kWorthIt) return;
    const auto page = static_cast<uintptr_t>(::sysconf(_SC_PAGESIZE));
    // Only whole pages inside the buffer: the ones at its edges may be shared with other data.
    const uintptr_t from = (reinterpret_cast<uintptr_t>(data) + page - 1) & ~(page - 1);
    const uintptr_t to = (reinterpret_cast<uintptr_t>(data) + size) & ~(page - 1);
    if (to > from) ::madvise(reinterpret_cast<void*>(from), to - from, MADV_POPULATE_WRITE);
}

}  // namespace bw::check
