#include <QString>
#include <cstdio>

#include "Bench.h"
#include "ui/ScaledImageRead.h"

namespace bw::bench {

// Reads a picture as the preview pane does, into a 512 × 512 box (the size of an ImageMagick
// "-thumbnail 512x512" to compare with), and prints the time and the size it came out at.
int BenchPreview(const std::vector<std::string>& args) {
    if (args.size() != 1) {
        std::fprintf(stderr, "usage: brindlewood-bench preview FILE\n");
        return 2;
    }
    const auto start = std::chrono::steady_clock::now();
    const ScaledImage read = ReadScaledImage(QString::fromStdString(args[0]), QSize(512, 512));
    const long long ms = MsSince(start);
    if (read.image.isNull()) {
        std::fprintf(stderr, "preview: %s is not a readable picture\n", args[0].c_str());
        return 1;
    }
    std::printf("preview_ms=%lld width=%d height=%d\n", ms, read.image.width(),
                read.image.height());
    return 0;
}

}  // namespace bw::bench
