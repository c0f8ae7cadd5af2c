// The settings file: read a key, write it, read it back. The value written is the value read,
// and every other line of the file is kept byte for byte.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <vector>

#include "FuzzInput.h"
#include "platform/PlatformError.h"
#include "platform/Profile.h"

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// A fresh folder on a memory file system where there is one: every write is flushed to disk.
const std::string& IniPath() {
    static const std::string path = [] {
        std::string base = std::filesystem::is_directory("/dev/shm")
                               ? "/dev/shm"
                               : std::filesystem::temp_directory_path().string();
        std::string dir = base + "/bw-fuzz-profile-XXXXXX";
        FUZZ_REQUIRE(::mkdtemp(dir.data()) != nullptr);
        static const std::string removeAtExit = dir;
        std::atexit([] { std::filesystem::remove_all(removeAtExit); });
        return dir + "/Brindlewood.ini";
    }();
    return path;
}

void WriteFile(const std::string& path, std::string_view bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    FUZZ_REQUIRE(fd >= 0);
    FUZZ_REQUIRE(::write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size()));
    ::close(fd);
}

std::string ReadFile(const std::string& path) {
    std::string bytes;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    FUZZ_REQUIRE(fd >= 0);
    char buf[4096];
    for (ssize_t n; (n = ::read(fd, buf, sizeof buf)) > 0;)
        bytes.append(buf, static_cast<size_t>(n));
    ::close(fd);
    return bytes;
}

// Lines with their ends ("" for a last line without one).
struct Line {
    std::string_view text, end;
    bool operator==(const Line&) const = default;
};

std::vector<Line> LinesOf(std::string_view bytes) {
    std::vector<Line> lines;
    while (!bytes.empty()) {
        const size_t cut = bytes.find_first_of("\r\n");
        if (cut == std::string_view::npos) {
            lines.push_back({bytes, ""});
            break;
        }
        const size_t endSize = bytes.substr(cut, 2) == "\r\n" ? 2 : 1;
        lines.push_back({bytes.substr(0, cut), bytes.substr(cut, endSize)});
        bytes.remove_prefix(cut + endSize);
    }
    return lines;
}

bool Blank(char c) { return c == ' ' || c == '\t'; }

// A name the file can give back: no blank at either end, and for a key no "=" and nothing a
// reader could take for a section.
bool Writable(std::string_view name, bool key) {
    if (!name.empty() && (Blank(name.front()) || Blank(name.back()))) return false;
    if (key) return !name.empty() && name.find('=') == std::string_view::npos && name[0] != '[';
    return name.find(']') == std::string_view::npos;
}

// What a reader gives back for a value written: blanks at the ends trimmed, one pair of enclosing
// quotes dropped.
std::string AsRead(std::string_view value) {
    while (!value.empty() && Blank(value.front())) value.remove_prefix(1);
    while (!value.empty() && Blank(value.back())) value.remove_suffix(1);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return std::string(value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    bw::fuzz::FuzzInput in(data, size);
    const std::string section = in.Field(), key = in.Field(), value = in.Field();
    const std::string before(in.Rest());
    const std::string& path = IniPath();
    WriteFile(path, before);

    const size_t unlimited = before.size() + value.size() + 8;
    bw::GetPrivateProfileString(section, key, "", path, unlimited);
    if ((section + key + value).find_first_of("\r\n") != std::string::npos) {
        // A line end would add lines of its own: refused, the file untouched.
        try {
            bw::WritePrivateProfileString(section, key, value, path);
            FUZZ_REQUIRE(!"written");
        } catch (const bw::PlatformError& e) {
            FUZZ_REQUIRE(e.number() == bw::err::kInvalidCall);
        }
        FUZZ_REQUIRE(ReadFile(path) == before);
        return 0;
    }
    bw::WritePrivateProfileString(section, key, value, path);
    const auto after = bw::ReadProfileFile(path);
    FUZZ_REQUIRE(after.has_value());
    const auto raw = ReadFile(path);
    FUZZ_REQUIRE(raw.starts_with(kByteOrderMark) == before.starts_with(kByteOrderMark));

    if (Writable(section, false) && Writable(key, true)) {
        FUZZ_REQUIRE(bw::GetPrivateProfileString(section, key, "\x01", path, unlimited) ==
                     AsRead(value));
    }

    // A byte-order mark stays; then the old lines in order, with one line's text replaced by
    // key=value, or key=value added (after a new [section] line, or after the section's last
    // line, a last line without an end given one).
    std::string_view old = before;
    if (old.starts_with(kByteOrderMark)) old.remove_prefix(kByteOrderMark.size());
    const std::string written = key + "=" + value;
    auto was = LinesOf(old);
    const auto now = LinesOf(*after);
    FUZZ_REQUIRE(now.size() >= was.size() && now.size() <= was.size() + 2);
    if (now.size() > was.size() && !was.empty() && was.back().end.empty()) was.back().end = "\r\n";
    size_t same = 0, sameAtEnd = 0;
    while (same < was.size() && was[same] == now[same]) ++same;
    while (sameAtEnd < was.size() - same &&
           was[was.size() - 1 - sameAtEnd] == now[now.size() - 1 - sameAtEnd])
        ++sameAtEnd;
    const size_t wasChanged = was.size() - same - sameAtEnd;
    const size_t nowChanged = now.size() - same - sameAtEnd;
    if (nowChanged == 0) {  // the line was there already, word for word
        FUZZ_REQUIRE(
            std::any_of(now.begin(), now.end(), [&](const Line& l) { return l.text == written; }));
    } else if (wasChanged == 1) {  // one line's text replaced, its end kept
        FUZZ_REQUIRE(nowChanged == 1 && now[same].text == written &&
                     now[same].end == was[same].end);
    } else {  // lines added
        FUZZ_REQUIRE(wasChanged == 0 && now[same + nowChanged - 1] == (Line{written, "\r\n"}));
        if (nowChanged == 2) FUZZ_REQUIRE(now[same] == (Line{"[" + section + "]", "\r\n"}));
    }
    return 0;
}
