// The library check's compressed reader feeding its parser. Either the input is compressed here
// (in one or two gzip members) and must come back whole, or it is taken as a damaged or hostile
// compressed file: whatever it inflates to stays under the cap and is parsed as if it were plain.
#include <sys/mman.h>
#include <unistd.h>
#include <zlib.h>

#include <cstring>

#include "FuzzInput.h"
#include "ParseWith.h"
#include "check/CompressedReader.h"
#include "check/LibraryReferenceParser.h"

namespace {

using bw::check::LibraryReferenceParser;

constexpr uint64_t kCap = 1024 * 1024;  // a zip bomb stops here, not at the real 512 MB

// Hands the inflated bytes on to the parser and keeps a copy of them.
class TeeSink : public bw::check::BlockSink {
  public:
    explicit TeeSink(LibraryReferenceParser& parser) : parser_(parser) {}
    std::span<char> Space() override { return space_ = parser_.Space(); }
    void Commit(size_t count) override {
        FUZZ_REQUIRE(count <= space_.size());
        inflated.append(space_.data(), count);
        parser_.Commit(count);
    }
    std::string inflated;

  private:
    LibraryReferenceParser& parser_;
    std::span<char> space_;
};

// One deflate stream kept for the whole run: setting one up per input costs more than the test.
std::string Gzip(std::string_view bytes, int level) {
    static z_stream z = [] {
        z_stream s{};
        FUZZ_REQUIRE(deflateInit2(&s, Z_DEFAULT_COMPRESSION, Z_DEFLATED, 16 + MAX_WBITS, 8,
                                  Z_DEFAULT_STRATEGY) == Z_OK);
        return s;
    }();
    FUZZ_REQUIRE(deflateReset(&z) == Z_OK);
    FUZZ_REQUIRE(deflateParams(&z, level, Z_DEFAULT_STRATEGY) == Z_OK);
    std::string out(deflateBound(&z, bytes.size()), '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
    z.avail_in = static_cast<uInt>(bytes.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = static_cast<uInt>(out.size());
    FUZZ_REQUIRE(deflate(&z, Z_FINISH) == Z_STREAM_END);
    out.resize(z.total_out);
    return out;
}

// One in-memory file, rewritten for every input.
int FileOf(std::string_view bytes) {
    static const int fd = ::memfd_create("fuzz-gzip", MFD_CLOEXEC);
    FUZZ_REQUIRE(fd >= 0);
    FUZZ_REQUIRE(::ftruncate(fd, 0) == 0);
    FUZZ_REQUIRE(::pwrite(fd, bytes.data(), bytes.size(), 0) == static_cast<ssize_t>(bytes.size()));
    FUZZ_REQUIRE(::lseek(fd, 0, SEEK_SET) == 0);
    return fd;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    bw::fuzz::FuzzInput in(data, size);
    const uint8_t mode = in.Byte();
    const std::string_view rest = in.Rest();
    const bool compressHere = mode & 1;

    std::string file(rest);
    if (compressHere) {
        // Bits 1-4 pick the level, bit 5 a second member holding the second half.
        const int level = (mode >> 1) % 10;
        const size_t half = (mode & 32) ? rest.size() / 2 : rest.size();
        file = Gzip(rest.substr(0, half), level);
        if (half < rest.size()) file += Gzip(rest.substr(half), level);
    }

    static LibraryReferenceParser parser, plain;
    parser.Reset();
    TeeSink sink(parser);
    // The check reuses one inflater per thread across files; so does this.
    static bw::check::GzipInflater inflater;
    const std::string reason = inflater.Inflate(FileOf(file), kCap, sink);
    parser.Finish();

    if (compressHere) {
        FUZZ_REQUIRE(reason.empty() || (rest.empty() && reason == "empty compressed file") ||
                     (rest.size() > kCap && reason == bw::check::OverCapReason(kCap, true)));
        if (reason.empty()) FUZZ_REQUIRE(sink.inflated == rest);
    }
    FUZZ_REQUIRE(sink.inflated.size() <= kCap);
    FUZZ_REQUIRE(parser.references() == bw::fuzz::ParseWith(plain, sink.inflated, mode));
    for (const auto& ref : parser.references())
        FUZZ_REQUIRE(sink.inflated.find(ref.path) != std::string::npos);
    return 0;
}
