#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>

#include "check/BlockSink.h"

namespace bw::check {

// Default limit on a library file's size, inflated size for the compressed ones.
inline constexpr uint64_t kDefaultSizeCap = 512ull * 1024 * 1024;

// True for the library files the check reads: the Poser extensions (geometry aside) and their
// compressed forms, compared without regard to case.
bool IsLibraryFileName(std::string_view name);
// True for the compressed forms (.crz .pzz .ppz .hrz .hdz .ltz .cmz .p2z .fcz .mz5).
bool IsCompressedLibraryFileName(std::string_view name);

// Reads a regular file into `sink` in large blocks, inflating it when `compressed`. Answers the
// empty string when it was read to its end (or `cancel` was set), else why it could not be read.
std::string ReadLibraryFile(const std::string& hostPath, bool compressed, uint64_t sizeCap,
                            BlockSink& sink, const std::atomic<bool>* cancel = nullptr);

}  // namespace bw::check
