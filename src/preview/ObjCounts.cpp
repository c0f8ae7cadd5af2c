#include "preview/ObjCounts.h"

#include <vector>

#include "platform/FileSystem.h"

namespace bw {

namespace {
constexpr size_t kBlockSize = 1 << 20;
}  // namespace

std::optional<ObjCounts> CountObj(const FileSystem& fs, const std::string& path,
                                  const std::function<bool()>& superseded) {
    ObjCounts counts;
    std::vector<char> block(kBlockSize);
    // Column of the next character in its line, and the line's first character; only the first two
    // columns matter, and a line may straddle two blocks.
    uint64_t column = 0;
    char first = 0;
    uint64_t offset = 0;
    while (size_t n = fs.ReadFileAt(path, offset, block.data(), block.size())) {
        if (superseded && superseded()) return std::nullopt;
        offset += n;
        for (size_t i = 0; i < n; ++i) {
            const char c = block[i];
            if (c == '\n' || c == '\r') {
                column = 0;
                continue;
            }
            if (column == 0) {
                first = c;
            } else if (column == 1 && (c == ' ' || c == '\t')) {
                counts.vertices += first == 'v';
                counts.faces += first == 'f';
            }
            ++column;
        }
    }
    return counts;
}

}  // namespace bw
