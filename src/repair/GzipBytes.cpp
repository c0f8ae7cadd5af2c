#include "repair/GzipBytes.h"

#include <zlib.h>

#include <algorithm>
#include <climits>

#include "check/CompressedReader.h"
#include "platform/PlatformError.h"

namespace bw::repair {

namespace {

constexpr size_t kBlock = 256 * 1024;

[[noreturn]] void Refuse(const std::string& why) { throw PlatformError(err::kPathFileAccess, why); }

// zlib counts in 32 bits; larger inputs go in slices.
uInt Slice(size_t left) { return static_cast<uInt>(std::min<size_t>(left, UINT_MAX)); }

// Frees the stream however the work ends.
struct Inflating {
    z_stream z{};
    bool ready = inflateInit2(&z, 16 + MAX_WBITS) == Z_OK;
    ~Inflating() {
        if (ready) inflateEnd(&z);
    }
};

struct Deflating {
    z_stream z{};
    bool ready = deflateInit2(&z, 6, Z_DEFLATED, 16 + MAX_WBITS, 8, Z_DEFAULT_STRATEGY) == Z_OK;
    ~Deflating() {
        if (ready) deflateEnd(&z);
    }
};

}  // namespace

std::string Gunzip(std::string_view data, uint64_t sizeCap) {
    if (data.empty()) Refuse("empty compressed file");
    Inflating s;
    if (!s.ready) Refuse("cannot start inflating");
    z_stream& z = s.z;
    std::string out;
    size_t done = 0;
    for (;;) {
        if (z.avail_in == 0 && done < data.size()) {
            z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data() + done));
            z.avail_in = Slice(data.size() - done);
            done += z.avail_in;
        }
        const size_t before = out.size();
        out.resize(before + kBlock);
        z.next_out = reinterpret_cast<Bytef*>(out.data() + before);
        z.avail_out = kBlock;
        const int rc = inflate(&z, Z_NO_FLUSH);
        out.resize(before + kBlock - z.avail_out);
        if (out.size() > sizeCap) Refuse(check::OverCapReason(sizeCap, true));
        if (rc == Z_STREAM_END) {
            if (z.avail_in == 0 && done == data.size()) return out;
            // Another gzip member follows the one that ended.
            if (inflateReset(&z) != Z_OK) Refuse("damaged compressed data");
        } else if (rc == Z_DATA_ERROR) {
            Refuse(out.empty() ? "not gzip-compressed data" : "damaged compressed data");
        } else if (rc == Z_MEM_ERROR) {
            Refuse("out of memory while inflating");
        } else if (rc == Z_BUF_ERROR && z.avail_in == 0 && done == data.size()) {
            Refuse("compressed data cut short");
        } else if (rc != Z_OK && rc != Z_BUF_ERROR) {
            Refuse("damaged compressed data");
        }
    }
}

std::string Gzip(std::string_view bytes) {
    Deflating s;
    if (!s.ready) Refuse("cannot start compressing");
    z_stream& z = s.z;
    std::string out;
    size_t done = 0;
    for (;;) {
        if (z.avail_in == 0 && done < bytes.size()) {
            z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data() + done));
            z.avail_in = Slice(bytes.size() - done);
            done += z.avail_in;
        }
        const int flush = done == bytes.size() ? Z_FINISH : Z_NO_FLUSH;
        const size_t before = out.size();
        out.resize(before + kBlock);
        z.next_out = reinterpret_cast<Bytef*>(out.data() + before);
        z.avail_out = kBlock;
        const int rc = deflate(&z, flush);
        out.resize(before + kBlock - z.avail_out);
        if (rc == Z_STREAM_END) return out;
        if (rc != Z_OK && rc != Z_BUF_ERROR) Refuse("cannot compress");
    }
}

}  // namespace bw::repair
