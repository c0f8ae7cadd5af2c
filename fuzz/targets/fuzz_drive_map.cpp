// The Windows/host path mapping. A Windows path the map takes to a host path and back, and a
// host path it takes to a Windows path and back, name the same entry as before; or the map
// refuses the path. Drives: C: and D: (whose root lies inside C:'s) in a fresh folder holding
// names that differ only in letter case, and Z: at "/".
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "FuzzInput.h"
#include "platform/DriveMap.h"
#include "platform/Text.h"

namespace {

namespace fs = std::filesystem;

struct Fixture {
    std::string base;
    bw::DriveMap map;
};

const Fixture& Drives() {
    static const Fixture fixture = [] {
        std::string dir = (fs::temp_directory_path() / "bw-fuzz-drives-XXXXXX").string();
        FUZZ_REQUIRE(::mkdtemp(dir.data()) != nullptr);
        for (const char* folder : {"c/Runtime/Textures", "c/runtime", "c/Runtime/textures/Sub",
                                   "c/d/Props", "c/a b/x.y"})
            fs::create_directories(dir + "/" + folder);
        for (const char* file : {"c/Runtime/Textures/Skin.jpg", "c/Runtime/Textures/skin.JPG",
                                 "c/d/Props/Ball.obj", "c/file"})
            std::ofstream(dir + "/" + file) << "x";
        static const std::string removeAtExit = dir;
        std::atexit([] { fs::remove_all(removeAtExit); });
        return Fixture{dir, bw::DriveMap::FromDrives({{"c:", dir + "/c/"}, {"D:", dir + "/c/d"}})};
    }();
    return fixture;
}

// The path with empty and "." components and a trailing "/" left out: the same entry, spelled
// one way.
std::string Tidy(const std::string& hostPath) {
    std::string out;
    for (const auto& part : fs::path(hostPath)) {
        const std::string s = part.string();
        if (s.empty() || s == "." || s == "/") continue;
        out += "/" + s;
    }
    return out.empty() ? "/" : out;
}

// The same entry: the same file when there is one, else the same spelling.
bool SameEntry(const std::string& a, const std::string& b) {
    struct stat sa {
    }, sb{};
    const bool ea = ::lstat(a.c_str(), &sa) == 0, eb = ::lstat(b.c_str(), &sb) == 0;
    if (ea || eb) return ea && eb && sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
    return Tidy(a) == Tidy(b);
}

// Lexically: the fixture holds no links, and the names of a long path may exceed what the host
// can look up.
bool IsUnder(const std::string& path, const std::string& root) {
    const std::string p = fs::path(path).lexically_normal().string();
    const std::string r = fs::path(root).lexically_normal().string();
    return p == r || p.starts_with(r.ends_with('/') ? r : r + "/");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const Fixture& f = Drives();
    bw::fuzz::FuzzInput in(data, size);
    const uint8_t mode = in.Byte();
    const std::string text(in.Rest());
    if (text.find('\0') != std::string::npos) return 0;  // no path holds one

    if (mode & 1) {
        // A Windows path: to the host and back.
        const auto lookup = static_cast<bw::Lookup>((mode >> 1) % 3);
        const auto found = f.map.Resolve(text, lookup);
        if (!found) return 0;
        const std::string& host = found->path;
        // A Windows path never leaves its drive.
        const std::string letter = text.substr(0, 1) + ":";
        for (const auto& d : f.map.drives())
            if (bw::AsciiEqualsIgnoreCase(d.letter, letter)) FUZZ_REQUIRE(IsUnder(host, d.root));
        if (!f.map.CanNameHostPath(host)) return 0;
        const auto back = f.map.ToHost(f.map.ToWindows(host), bw::Lookup::AsWritten);
        FUZZ_REQUIRE(back && SameEntry(host, *back));
    } else {
        // A host path, below the drives' folder or anywhere: to Windows and back.
        const std::string host = (mode & 2) ? f.base + "/" + text : text;
        if (!f.map.CanNameHostPath(host)) return 0;
        const std::string windows = f.map.ToWindows(host);
        const auto back = f.map.ToHost(windows, bw::Lookup::AsWritten);
        FUZZ_REQUIRE(back && SameEntry(host, *back));
    }
    return 0;
}
