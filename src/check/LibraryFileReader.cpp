#include "check/LibraryFileReader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>

#include "check/CompressedReader.h"
#include "platform/PlatformError.h"
#include "platform/Text.h"

namespace bw::check {

namespace {

// The tree's Poser extensions, less obj: geometry holds none of the keywords.
constexpr std::array<std::string_view, 9> kPlain = {"cm2", "cr2", "fc2", "hd2", "hr2",
                                                    "lt2", "pz2", "pp2", "pz3"};
constexpr std::array<std::string_view, 10> kCompressed = {"crz", "pzz", "ppz", "hrz", "hdz",
                                                          "ltz", "cmz", "p2z", "fcz", "mz5"};

std::string_view ExtensionOf(std::string_view name) {
    const size_t dot = name.rfind('.');
    return dot == std::string_view::npos ? std::string_view() : name.substr(dot + 1);
}

template <size_t N>
bool OneOf(std::string_view ext, const std::array<std::string_view, N>& list) {
    // Every extension listed is three characters long; the walk asks for every file it meets.
    if (ext.size() != 3) return false;
    for (auto e : list)
        if (AsciiEqualsIgnoreCase(ext, e)) return true;
    return false;
}

// Closes the descriptor on every way out.
struct Fd {
    int fd;
    ~Fd() {
        if (fd >= 0) ::close(fd);
    }
};

std::string ErrnoText() { return PlatformError::FromErrno(errno).description(); }

}  // namespace

bool IsLibraryFileName(std::string_view name) {
    const auto ext = ExtensionOf(name);
    return OneOf(ext, kPlain) || OneOf(ext, kCompressed);
}

FileStamp StampOf(const struct stat& st) {
    const auto ns = [](const timespec& t) {
        return static_cast<int64_t>(t.tv_sec) * 1000000000 + t.tv_nsec;
    };
    return {static_cast<uint64_t>(st.st_size), ns(st.st_mtim), ns(st.st_ctim)};
}

bool IsCompressedLibraryFileName(std::string_view name) {
    return OneOf(ExtensionOf(name), kCompressed);
}

std::string ReadLibraryFile(const std::string& hostPath, bool compressed, uint64_t sizeCap,
                            BlockSink& sink, const std::atomic<bool>* cancel, FileStamp* stamp,
                            GzipInflater* inflater) {
    return ReadLibraryFileAt(AT_FDCWD, hostPath.c_str(), compressed, sizeCap, sink, cancel, stamp,
                             inflater);
}

std::string ReadLibraryFileAt(int folderFd, const char* path, bool compressed, uint64_t sizeCap,
                              BlockSink& sink, const std::atomic<bool>* cancel, FileStamp* stamp,
                              GzipInflater* inflater) {
    Fd file{::openat(folderFd, path, O_RDONLY | O_CLOEXEC | O_NONBLOCK)};
    if (file.fd < 0) return ErrnoText();
    struct stat st {};
    if (::fstat(file.fd, &st) != 0) return ErrnoText();
    if (!S_ISREG(st.st_mode)) return "not a regular file";
    if (stamp) *stamp = StampOf(st);
    if (compressed)
        return inflater ? inflater->Inflate(file.fd, sizeCap, sink, cancel)
                        : InflateGzip(file.fd, sizeCap, sink, cancel);
    if (static_cast<uint64_t>(st.st_size) > sizeCap) return OverCapReason(sizeCap, false);
    // The bytes the file held when it was measured; it is read to there, which spares a read
    // that only finds the end.
    const auto size = static_cast<uint64_t>(st.st_size);
    sink.ExpectSize(size);
    uint64_t total = 0;
    while (total < size) {
        if (cancel && cancel->load(std::memory_order_relaxed)) return {};
        const auto space = sink.Space();
        const ssize_t n = ::read(file.fd, space.data(), space.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return ErrnoText();
        }
        if (n == 0) break;
        const size_t taken =
            static_cast<size_t>(std::min<uint64_t>(static_cast<uint64_t>(n), size - total));
        total += taken;
        sink.Commit(taken);
    }
    return {};
}

}  // namespace bw::check
