#pragma once

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>

namespace bw {

class FileSystem;

struct FileFacts {
    uint64_t size = 0;
    std::time_t modified = 0;
};

// Size and modification time of the file at a Windows path; none when it is gone or unreadable.
std::optional<FileFacts> StatFile(const FileSystem& fs, const std::string& path);

}  // namespace bw
