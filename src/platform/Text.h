#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace bw {

// Byte-string helpers. Case folding touches ASCII letters only: library files are single-byte
// text and names from the host are UTF-8, whose multi-byte sequences must pass through intact.

std::string AsciiLower(std::string_view s);
std::string AsciiUpper(std::string_view s);
bool AsciiEqualsIgnoreCase(std::string_view a, std::string_view b);
// Position of the first occurrence of `needle` in `hay` at or after `from`, ignoring case; npos
// when absent.
size_t FindIgnoreCase(std::string_view hay, std::string_view needle, size_t from = 0);
bool ContainsIgnoreCase(std::string_view hay, std::string_view needle);
// Case-insensitive "less than" for sorting names.
bool LessIgnoreCase(std::string_view a, std::string_view b);

// Splits on a separator; an empty input gives no parts, empty parts in between are kept.
std::vector<std::string> Split(std::string_view s, char sep);
// Removes spaces (only ' ') at both ends.
std::string TrimSpaces(std::string_view s);
std::string ReplaceAll(std::string s, std::string_view from, std::string_view to);
// The text with every double-quote character removed.
std::string WithoutQuotes(std::string_view text);
// The last n characters, or the whole string when it is shorter.
std::string Tail(std::string_view s, size_t n);
bool StartsWith(std::string_view s, std::string_view prefix);
bool EndsWith(std::string_view s, std::string_view suffix);

// Numeric in the classic sense: optional blanks, sign, digits with at most one point, optional
// exponent. Accepts colour and placement values; tells version numbers from file extensions.
bool IsNumeric(const std::string& text);

// Splits bytes into lines ending at CR LF, LF or a lone CR; the ends are not kept. A final line
// without an end is kept; a file that ends with a line end has no empty last line.
std::vector<std::string_view> SplitLines(std::string_view bytes);

}  // namespace bw
