#include "check/LibraryReferenceParser.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

#include "check/ByteScan.h"

namespace bw::check {

namespace {

constexpr size_t npos = std::string_view::npos;
// No keyword is longer; a longer word is never one.
constexpr size_t kLongestKeyword = 19;

inline bool IsLineEnd(char c) { return c == '\n' || c == '\r'; }
inline bool IsBlank(char c) { return c == ' ' || c == '\t'; }
inline bool IsWordChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

// Drops one leading whole number and the blanks after it, when the text starts with one.
bool SkipNumber(std::string_view& s) {
    size_t n = (!s.empty() && s[0] == '-') ? 1 : 0;
    const size_t digitsFrom = n;
    while (n < s.size() && s[n] >= '0' && s[n] <= '9') ++n;
    if (n == digitsFrom || n == s.size() || !IsBlank(s[n])) return false;
    s = TrimBlanks(s.substr(n));
    return true;
}

// The path a keyword's line names, from the text after the keyword; no value when it names none.
std::optional<std::string_view> ValueOf(Keyword keyword, std::string_view rest) {
    if (rest.empty() || !IsBlank(rest[0])) return std::nullopt;
    rest = TrimBlanks(rest);
    const int numbers = keyword == Keyword::ObjFileGeom ? 2 : keyword == Keyword::ObjFile ? 1 : 0;
    for (int i = 0; i < numbers && SkipNumber(rest); ++i) {
    }
    if (!rest.empty() && rest[0] == '"') {
        const size_t close = rest.find('"', 1);
        rest = rest.substr(1, close == npos ? npos : close - 1);
    }
    if (rest.empty() || rest == "NO_MAP" || rest == "_NONE_") return std::nullopt;
    return rest;
}

}  // namespace

void LibraryReferenceParser::Free::operator()(char* p) const { std::free(p); }

LibraryReferenceParser::LibraryReferenceParser() { Reserve(2 * kBlockSize); }

void LibraryReferenceParser::Reset() {
    fill_ = 0;
    line_ = 1;
    continuation_ = false;
    wholeAtFinish_ = false;
    refs_.Clear();
}

void LibraryReferenceParser::ExpectSize(uint64_t bytes) {
    if (fill_ == 0 && bytes <= kMaxLine) {
        Reserve(static_cast<size_t>(bytes) + 1);
        wholeAtFinish_ = true;
    }
}

void LibraryReferenceParser::Reserve(size_t capacity) {
    if (capacity <= capacity_) return;
    constexpr size_t kPage = 4096;
    capacity = (capacity + kPage - 1) / kPage * kPage;
    std::unique_ptr<char[], Free> bigger(static_cast<char*>(std::aligned_alloc(kPage, capacity)));
    if (!bigger) throw std::bad_alloc();
    if (fill_ > 0) std::memcpy(bigger.get(), buf_.get(), fill_);
    buf_ = std::move(bigger);
    capacity_ = capacity;
}

std::span<char> LibraryReferenceParser::Space() {
    if (capacity_ - fill_ < kBlockSize) Reserve(fill_ + kBlockSize);
    return {buf_.get() + fill_, capacity_ - fill_};
}

void LibraryReferenceParser::Commit(size_t count) {
    const size_t before = fill_;
    fill_ += count;
    size_t searchFrom = before;
    if (wholeAtFinish_) {
        if (fill_ < capacity_) return;
        // More came than was said: read on in blocks, from the start of what was held back.
        wholeAtFinish_ = false;
        searchFrom = 0;
    }
    // Everything before the last line end is whole lines; the line end itself starts the carry,
    // so a CR LF split between two blocks is still one line end.
    size_t last = npos;
    for (size_t i = fill_; i > searchFrom; --i)
        if (IsLineEnd(buf_[i - 1])) {
            last = i - 1;
            break;
        }
    if (last == npos && before > 0 && IsLineEnd(buf_[0])) last = 0;
    if (last != npos && last > 0) {
        Scan(last);
        std::memmove(buf_.get(), buf_.get() + last, fill_ - last);
        fill_ -= last;
        continuation_ = false;
    } else if (fill_ >= kMaxLine) {
        Scan(fill_);
        fill_ = 0;
        continuation_ = true;
    }
}

void LibraryReferenceParser::Finish() {
    Scan(fill_);
    fill_ = 0;
    continuation_ = false;
}

void LibraryReferenceParser::Scan(size_t end) {
    const char* d = buf_.get();
    // Line breaks between the start and where the sweep has got to. A place it resumes from is
    // never past a line end: the text skipped over is one word, or the rest of one line.
    size_t breaks = 0;
    size_t i = 0;
    for (size_t hit; (hit = NextTrigger(d, i, end, fill_, breaks)) != npos;) {
        size_t start = hit;
        while (start > 0 && hit - start <= kLongestKeyword && IsWordChar(d[start - 1])) --start;
        size_t stop = hit;
        while (stop < end && IsWordChar(d[stop])) ++stop;
        size_t blanks = start;
        while (blanks > 0 && IsBlank(d[blanks - 1])) --blanks;
        const bool atLineStart = blanks > 0 ? IsLineEnd(d[blanks - 1]) : !continuation_;
        const bool whole = start == 0 || !IsWordChar(d[start - 1]);
        const auto keyword = atLineStart && whole
                                 ? KeywordNamed(std::string_view(d + start, stop - start))
                                 : std::nullopt;
        if (!keyword) {
            i = stop;
            continue;
        }
        const char* lineEnd = d + NextLineEnd(d, stop, end);
        if (const auto path = ValueOf(
                *keyword, std::string_view(d + stop, static_cast<size_t>(lineEnd - (d + stop)))))
            refs_.Add(line_ + static_cast<uint32_t>(breaks), *keyword, *path);
        i = static_cast<size_t>(lineEnd - d);
    }
    line_ += static_cast<uint32_t>(breaks);
}

std::vector<ExtractedReference> LibraryReferenceParser::Parse(std::string_view bytes) {
    LibraryReferenceParser parser;
    while (!bytes.empty()) {
        const auto space = parser.Space();
        const size_t n = std::min(space.size(), bytes.size());
        std::memcpy(space.data(), bytes.data(), n);
        parser.Commit(n);
        bytes.remove_prefix(n);
    }
    parser.Finish();
    return parser.TakeReferences();
}

}  // namespace bw::check
