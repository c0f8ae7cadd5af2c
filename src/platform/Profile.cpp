#include "platform/Profile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/PlatformError.h"
#include "platform/StagedEntry.h"
#include "platform/Text.h"

namespace bw {

namespace {

struct Line {
    std::string text;  // without its end
    std::string end;   // "\r\n", "\n", "\r" or "" for a last line without an end
};

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::optional<std::string> ReadHostFile(const std::string& path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    std::string bytes;
    char buf[8192];
    ssize_t n;
    while ((n = ::read(fd, buf, sizeof buf)) > 0) bytes.append(buf, static_cast<size_t>(n));
    ::close(fd);
    if (n < 0) return std::nullopt;
    return bytes;
}

std::vector<Line> ToLines(const std::string& bytes) {
    std::vector<Line> lines;
    size_t start = 0;
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\n' && bytes[i] != '\r') continue;
        const size_t textEnd = i;
        const bool crlf = bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n';
        if (crlf) ++i;
        lines.push_back(
            {bytes.substr(start, textEnd - start), crlf ? "\r\n" : std::string(1, bytes[textEnd])});
        start = i + 1;
    }
    if (start < bytes.size()) lines.push_back({bytes.substr(start), ""});
    return lines;
}

std::string TrimBlanks(std::string_view s) {
    size_t b = 0, e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t')) --e;
    return std::string(s.substr(b, e - b));
}

// The section name of a "[name]" line, or nothing.
std::optional<std::string> SectionOf(const std::string& text) {
    std::string t = TrimBlanks(text);
    if (t.empty() || t[0] != '[') return std::nullopt;
    auto close = t.find(']');
    if (close == std::string::npos) return std::nullopt;
    return TrimBlanks(t.substr(1, close - 1));
}

// The key of a "key=value" line, or nothing.
std::optional<std::string> KeyOf(const std::string& text) {
    auto eq = text.find('=');
    if (eq == std::string::npos) return std::nullopt;
    return TrimBlanks(text.substr(0, eq));
}

// The file a write lands in: the path with every link followed (a relative target counts from
// the link's folder); the path itself when it is no link.
std::string WriteTarget(const std::string& path) {
    std::string p = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(p.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return p;
        std::vector<char> buf(PATH_MAX);
        const ssize_t n = ::readlink(p.c_str(), buf.data(), buf.size());
        if (n < 0) throw PlatformError::FromErrno(errno);
        std::string target(buf.data(), static_cast<size_t>(n));
        if (target.empty() || target[0] != '/') {
            const auto slash = p.rfind('/');
            target = (slash == std::string::npos ? "" : p.substr(0, slash + 1)) + target;
        }
        p = target;
    }
    throw PlatformError::FromErrno(ELOOP);
}

// Writes beside the target and renames over it, so a full disk never leaves a truncated file
// and a link stays a link.
void ReplaceHostFile(const std::string& path, const std::string& bytes) {
    const std::string target = WriteTarget(path);
    struct stat old {};
    const bool existed = ::stat(target.c_str(), &old) == 0;
    if (existed && ::access(target.c_str(), W_OK) != 0)
        throw PlatformError::FromNumber(err::kPermissionDenied);
    // A fresh temporary entry, never a fixed name that could be a link someone left there.
    StagedEntry staged = StagedEntry::File(target, existed ? (old.st_mode & 07777) : 0666, {});
    if (existed) staged.SetMode(old.st_mode & 07777);
    staged.Write(bytes.data(), bytes.size());
    staged.Close(Flush::Now);
    staged.Replace();
}

// A settings file taken apart into lines, with its byte-order mark remembered.
struct ProfileLines {
    bool byteOrderMark = false;
    std::vector<Line> lines;
};

ProfileLines LoadLines(const std::string& path) {
    ProfileLines file;
    if (auto bytes = ReadHostFile(path)) {
        file.byteOrderMark = bytes->starts_with(kByteOrderMark);
        file.lines = ToLines(file.byteOrderMark ? bytes->substr(kByteOrderMark.size()) : *bytes);
    }
    return file;
}

void StoreLines(const ProfileLines& file, const std::string& path) {
    std::string out = file.byteOrderMark ? std::string(kByteOrderMark) : std::string();
    for (const auto& l : file.lines) out += l.text + l.end;
    ReplaceHostFile(path, out);
}

// Sets [section] key=value in the lines: the first such key of the first such section, else a
// new line at the end of the section, else a new section at the end.
void SetKey(std::vector<Line>& lines, const std::string& section, const std::string& key,
            const std::string& value) {
    const std::string newLine = key + "=" + value;
    std::optional<size_t> sectionLine;    // the section header
    std::optional<size_t> lastInSection;  // the last non-blank line of the section
    for (size_t i = 0; i < lines.size(); ++i) {
        if (auto s = SectionOf(lines[i].text)) {
            if (sectionLine) break;  // the section ended
            if (AsciiEqualsIgnoreCase(*s, section)) {
                sectionLine = i;
                lastInSection = i;
            }
            continue;
        }
        if (!sectionLine) continue;
        if (!TrimBlanks(lines[i].text).empty()) lastInSection = i;
        auto k = KeyOf(lines[i].text);
        if (k && AsciiEqualsIgnoreCase(*k, key)) {
            lines[i].text = newLine;
            return;
        }
    }
    if (!lines.empty() && lines.back().end.empty()) lines.back().end = "\r\n";
    if (sectionLine) {
        lines.insert(lines.begin() + static_cast<long>(*lastInSection) + 1, Line{newLine, "\r\n"});
    } else {
        lines.push_back({"[" + section + "]", "\r\n"});
        lines.push_back({newLine, "\r\n"});
    }
}

// A line end in a section, key or value would split the line it is written to and add lines of
// its own to the file (a folder name can hold one): such a write is refused, the file untouched.
void RefuseLineEnds(const std::string& section, const std::string& key, const std::string& value) {
    for (const std::string* text : {&section, &key, &value})
        if (text->find_first_of("\r\n") != std::string::npos)
            throw PlatformError::FromNumber(err::kInvalidCall);
}

}  // namespace

std::optional<std::string> ReadProfileFile(const std::string& iniHostPath) {
    auto bytes = ReadHostFile(iniHostPath);
    if (bytes && bytes->starts_with(kByteOrderMark)) bytes->erase(0, kByteOrderMark.size());
    return bytes;
}

std::string GetPrivateProfileString(const std::string& section, const std::string& key,
                                    const std::string& defaultValue, const std::string& iniHostPath,
                                    size_t bufferSize) {
    std::string result = TrimBlanks(defaultValue);
    if (auto bytes = ReadProfileFile(iniHostPath)) {
        bool inSection = false;
        for (const auto& line : ToLines(*bytes)) {
            if (auto s = SectionOf(line.text)) {
                inSection = AsciiEqualsIgnoreCase(*s, section);
                continue;
            }
            if (!inSection) continue;
            auto k = KeyOf(line.text);
            if (!k || !AsciiEqualsIgnoreCase(*k, key)) continue;
            std::string value = TrimBlanks(line.text.substr(line.text.find('=') + 1));
            if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                value.back() == value.front())
                value = value.substr(1, value.size() - 2);
            result = value;
            break;
        }
    }
    if (bufferSize > 0 && result.size() > bufferSize - 1) result.resize(bufferSize - 1);
    return result;
}

void WritePrivateProfileString(const std::string& section, const std::string& key,
                               const std::string& value, const std::string& iniHostPath) {
    RefuseLineEnds(section, key, value);
    ProfileLines file = LoadLines(iniHostPath);
    SetKey(file.lines, section, key, value);
    StoreLines(file, iniHostPath);
}

void WritePrivateProfilePath(const std::string& section, const std::string& key,
                             const std::string& value, const std::string& iniHostPath) {
    RefuseLineEnds(section, key, value);
    ProfileLines file = LoadLines(iniHostPath);
    SetKey(file.lines, section, key, value);
    const std::string newLine = key + "=" + value;
    for (size_t i = file.lines.size(); i-- > 0;) {
        if (!file.lines[i].text.starts_with(key)) continue;
        file.lines[i].text = newLine;
        break;
    }
    StoreLines(file, iniHostPath);
}

void WriteProfileFile(const std::string& iniHostPath, const std::string& bytes) {
    ReplaceHostFile(iniHostPath, bytes);
}

}  // namespace bw
