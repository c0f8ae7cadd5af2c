#pragma once

#include <functional>

namespace bw {

// The points at which an all-or-nothing write can fail, in the order they come: the temporary
// entry is made, bytes are written to it, it is flushed to the disk, it is renamed into place.
enum class WriteStep { Create, Write, Flush, Commit };

// Called at each step, after the step's own work (before it, for Commit); a test throws from it to
// make the write fail there. May be empty.
using WriteStepHook = std::function<void(WriteStep)>;

}  // namespace bw
