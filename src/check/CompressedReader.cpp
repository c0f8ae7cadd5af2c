#include "check/CompressedReader.h"

#include <unistd.h>
#include <zlib.h>

#include <cerrno>
#include <vector>

#include "platform/PlatformError.h"

namespace bw::check {

namespace {

constexpr size_t kInputBlock = 128 * 1024;

// Frees the inflate state on every way out.
struct Inflater {
    z_stream z{};
    bool ready = false;
    Inflater() { ready = inflateInit2(&z, 16 + MAX_WBITS) == Z_OK; }  // gzip wrapper only
    ~Inflater() {
        if (ready) inflateEnd(&z);
    }
};

}  // namespace

std::string OverCapReason(uint64_t sizeCap, bool inflated) {
    constexpr uint64_t kMB = 1024 * 1024;
    const std::string size = sizeCap % kMB == 0 ? std::to_string(sizeCap / kMB) + " MB"
                                                : std::to_string(sizeCap) + " bytes";
    return "larger than " + size + (inflated ? " when inflated" : "");
}

std::string InflateGzip(int fd, uint64_t sizeCap, BlockSink& sink,
                        const std::atomic<bool>* cancel) {
    Inflater inf;
    if (!inf.ready) return "cannot start inflating";
    std::vector<unsigned char> in(kInputBlock);
    uint64_t total = 0;
    bool anyInput = false, streamEnded = false;
    for (;;) {
        if (cancel && cancel->load(std::memory_order_relaxed)) return {};
        if (inf.z.avail_in == 0) {
            const ssize_t n = ::read(fd, in.data(), in.size());
            if (n < 0) {
                if (errno == EINTR) continue;
                return PlatformError::FromErrno(errno).description();
            }
            if (n == 0) {
                if (!anyInput) return "empty compressed file";
                if (streamEnded) return {};
                return "compressed data cut short";
            }
            anyInput = true;
            inf.z.next_in = in.data();
            inf.z.avail_in = static_cast<uInt>(n);
        }
        if (streamEnded) {
            // Another gzip member follows the one that ended.
            if (inflateReset(&inf.z) != Z_OK) return "damaged compressed data";
            streamEnded = false;
        }
        const auto space = sink.Space();
        inf.z.next_out = reinterpret_cast<Bytef*>(space.data());
        inf.z.avail_out = static_cast<uInt>(space.size());
        const int rc = inflate(&inf.z, Z_NO_FLUSH);
        const size_t produced = space.size() - inf.z.avail_out;
        total += produced;
        if (total > sizeCap) return OverCapReason(sizeCap, true);
        if (produced > 0) sink.Commit(produced);
        if (rc == Z_STREAM_END) {
            streamEnded = true;
        } else if (rc == Z_DATA_ERROR) {
            return total == 0 && inf.z.total_out == 0 ? "not gzip-compressed data"
                                                      : "damaged compressed data";
        } else if (rc == Z_MEM_ERROR) {
            return "out of memory while inflating";
        } else if (rc != Z_OK && rc != Z_BUF_ERROR) {
            return "damaged compressed data";
        }
    }
}

}  // namespace bw::check
