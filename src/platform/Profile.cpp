#include "platform/Profile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <optional>
#include <vector>

#include "platform/PlatformError.h"
#include "platform/Text.h"

namespace bw {

namespace {

struct Line {
    std::string text;  // without its end
    std::string end;   // "\r\n", "\n", "\r" or "" for a last line without an end
};

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

}  // namespace

std::string GetPrivateProfileString(const std::string& section, const std::string& key,
                                    const std::string& defaultValue, const std::string& iniHostPath,
                                    size_t bufferSize) {
    std::string result = TrimBlanks(defaultValue);
    if (auto bytes = ReadHostFile(iniHostPath)) {
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
    std::vector<Line> lines;
    if (auto bytes = ReadHostFile(iniHostPath)) lines = ToLines(*bytes);

    const std::string newLine = key + "=" + value;
    std::optional<size_t> sectionLine;    // the section header
    std::optional<size_t> lastInSection;  // the last non-blank line of the section
    bool done = false;
    for (size_t i = 0; i < lines.size() && !done; ++i) {
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
            done = true;
        }
    }
    if (!done) {
        if (!lines.empty() && lines.back().end.empty()) lines.back().end = "\r\n";
        if (sectionLine) {
            lines.insert(lines.begin() + static_cast<long>(*lastInSection) + 1,
                         Line{newLine, "\r\n"});
        } else {
            lines.push_back({"[" + section + "]", "\r\n"});
            lines.push_back({newLine, "\r\n"});
        }
    }

    std::string out;
    for (const auto& l : lines) out += l.text + l.end;
    // Write beside the file and rename over it, so a full disk never leaves a truncated file.
    if (::access(iniHostPath.c_str(), F_OK) == 0 && ::access(iniHostPath.c_str(), W_OK) != 0)
        throw PlatformError::FromNumber(err::kPermissionDenied);
    const std::string temp = iniHostPath + ".new";
    int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) throw PlatformError::FromErrno(errno);
    size_t off = 0;
    while (off < out.size()) {
        ssize_t n = ::write(fd, out.data() + off, out.size() - off);
        if (n < 0) {
            int e = errno;
            if (e == EINTR) continue;
            ::close(fd);
            ::unlink(temp.c_str());
            throw PlatformError::FromErrno(e);
        }
        off += static_cast<size_t>(n);
    }
    if (::close(fd) != 0 || ::rename(temp.c_str(), iniHostPath.c_str()) != 0) {
        int e = errno;
        ::unlink(temp.c_str());
        throw PlatformError::FromErrno(e);
    }
}

}  // namespace bw
