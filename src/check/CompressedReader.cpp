#include "check/CompressedReader.h"

#include <unistd.h>
#include <zlib.h>

#include <cerrno>

#include "platform/PlatformError.h"

namespace bw::check {

namespace {

constexpr size_t kInputBlock = 128 * 1024;

}  // namespace

std::string OverCapReason(uint64_t sizeCap, bool inflated) {
    constexpr uint64_t kMB = 1024 * 1024;
    const std::string size = sizeCap % kMB == 0 ? std::to_string(sizeCap / kMB) + " MB"
                                                : std::to_string(sizeCap) + " bytes";
    return "larger than " + size + (inflated ? " when inflated" : "");
}

GzipInflater::GzipInflater()
    : z_(std::make_unique<z_stream_s>()),
      in_(std::make_unique_for_overwrite<unsigned char[]>(kInputBlock)) {
    ready_ = inflateInit2(z_.get(), 16 + MAX_WBITS) == Z_OK;  // gzip wrapper only
}

GzipInflater::~GzipInflater() {
    if (ready_) inflateEnd(z_.get());
}

std::string InflateGzip(int fd, uint64_t sizeCap, BlockSink& sink,
                        const std::atomic<bool>* cancel) {
    return GzipInflater().Inflate(fd, sizeCap, sink, cancel);
}

std::string GzipInflater::Inflate(int fd, uint64_t sizeCap, BlockSink& sink,
                                  const std::atomic<bool>* cancel) {
    if (!ready_ || inflateReset(z_.get()) != Z_OK) return "cannot start inflating";
    z_stream& z = *z_;
    z.avail_in = 0;
    uint64_t total = 0;
    bool anyInput = false, streamEnded = false;
    for (;;) {
        if (cancel && cancel->load(std::memory_order_relaxed)) return {};
        if (z.avail_in == 0) {
            const ssize_t n = ::read(fd, in_.get(), kInputBlock);
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
            z.next_in = in_.get();
            z.avail_in = static_cast<uInt>(n);
        }
        if (streamEnded) {
            // Another gzip member follows the one that ended.
            if (inflateReset(&z) != Z_OK) return "damaged compressed data";
            streamEnded = false;
        }
        const auto space = sink.Space();
        z.next_out = reinterpret_cast<Bytef*>(space.data());
        z.avail_out = static_cast<uInt>(space.size());
        const int rc = inflate(&z, Z_NO_FLUSH);
        const size_t produced = space.size() - z.avail_out;
        total += produced;
        if (total > sizeCap) return OverCapReason(sizeCap, true);
        if (produced > 0) sink.Commit(produced);
        if (rc == Z_STREAM_END) {
            streamEnded = true;
        } else if (rc == Z_DATA_ERROR) {
            return total == 0 && z.total_out == 0 ? "not gzip-compressed data"
                                                  : "damaged compressed data";
        } else if (rc == Z_MEM_ERROR) {
            return "out of memory while inflating";
        } else if (rc != Z_OK && rc != Z_BUF_ERROR) {
            return "damaged compressed data";
        }
    }
}

}  // namespace bw::check
