#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>

#include "platform/Text.h"

namespace bw {

// True when the candidate occurs in the extension list string, ignoring case, anywhere after its
// first character: both lists open with two commas, so an empty candidate never counts.
bool InExtensionList(std::string_view candidate, std::string_view list);

// The text of a line that the reference rules take as its extension: at most three characters
// after its first dot. No value when the line holds no dot.
std::optional<std::string_view> ExtensionCandidate(std::string_view line);

// Where the path named by a library line begins: the end of the first keyword the rules accept,
// and the keyword's length, or no value when the line has none. `poserCandidate` selects the
// geometry keywords (figureResFile, objFileGeom, prop); otherwise the image keyword ("map ").
struct PathCut {
    size_t keyword;  // where the keyword starts
    size_t start;    // where the path starts (may lie beyond the line for the geometry keywords)
};
std::optional<PathCut> GeometryPathCut(std::string_view line);
std::optional<PathCut> ImagePathCut(std::string_view line);

// No real path is this long; a longer cut is damaged or hostile text, not a reference to list.
inline constexpr size_t kMaxReferenceLength = 1024;

// Reads a library file's lines one after the other and says which line names a new reference.
// The path cut from a line carries on to the next lines until another line names one, so a line
// that passes the extension test but has no keyword repeats the previous path.
class ReferenceReader {
  public:
    // The reference newly named by this line, exactly as cut (quotes kept), or no value.
    // Throws PlatformError 5 when a keyword's cut would begin beyond the end of the line. A cut
    // longer than kMaxReferenceLength is counted as skipped and carries nothing on.
    std::optional<std::string> ReadLine(std::string_view line);
    // The path carried on to the next lines becomes the listed reference without its quotes.
    void CarryUnquoted();
    // Lines whose extension candidate passed the list test (saturating, never overflows).
    int candidateLines() const { return candidateLines_; }
    // Distinct over-long references that were not listed (compared byte for byte: folding the case
    // of megabytes would cost more than the count is worth).
    size_t skippedLong() const { return skippedLong_.size(); }

  private:
    // Takes the cut from `start` as the current path, or skips it when it is over-long.
    void TakePath(std::string_view line, size_t start);

    std::string currentPath_;
    std::string foundList_;
    int candidateLines_ = 0;
    std::unordered_set<size_t> skippedLong_;  // hashes of their texts
};

// True when the reference, unquoted, ends in a Poser or image extension, so it can be located.
bool IsLocatable(std::string_view reference);

}  // namespace bw
