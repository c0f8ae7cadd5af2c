#pragma once

#include <sys/stat.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>

#include "check/BlockSink.h"

namespace bw::check {

class GzipInflater;

// Default limit on a library file's size, inflated size for the compressed ones.
inline constexpr uint64_t kDefaultSizeCap = 512ull * 1024 * 1024;

// What a file's metadata said when it was measured: a file whose stamp is unchanged is taken to
// hold the same bytes. The status-change time moves with permissions, which decide readability.
struct FileStamp {
    uint64_t size = 0;
    int64_t mtimeNs = 0;
    int64_t ctimeNs = 0;
    bool operator==(const FileStamp&) const = default;
};

// True for the library files the check reads: the Poser extensions (geometry aside) and their
// compressed forms, compared without regard to case.
bool IsLibraryFileName(std::string_view name);
// True for the compressed forms (.crz .pzz .ppz .hrz .hdz .ltz .cmz .p2z .fcz .mz5).
bool IsCompressedLibraryFileName(std::string_view name);

// Reads a regular file into `sink` in large blocks, inflating it when `compressed`. Answers the
// empty string when it was read to its end (or `cancel` was set), else why it could not be read.
// Sets `stamp` (when given) to the file's stamp as it was opened. Inflates with `inflater` when
// given, for a thread that reads many files.
std::string ReadLibraryFile(const std::string& hostPath, bool compressed, uint64_t sizeCap,
                            BlockSink& sink, const std::atomic<bool>* cancel = nullptr,
                            FileStamp* stamp = nullptr, GzipInflater* inflater = nullptr);
// The same for `path` taken from the open folder `folderFd` (AT_FDCWD: the working folder), which
// spares the look-up of every folder on the way for each file of a folder read one after another.
std::string ReadLibraryFileAt(int folderFd, const char* path, bool compressed, uint64_t sizeCap,
                              BlockSink& sink, const std::atomic<bool>* cancel = nullptr,
                              FileStamp* stamp = nullptr, GzipInflater* inflater = nullptr);

// The stamp of `st`.
FileStamp StampOf(const struct stat& st);

}  // namespace bw::check
