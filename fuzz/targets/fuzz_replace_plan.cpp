// The rewrite of a reference. On any file: the line structure stays, every line end becomes
// CR LF, and a line that does not hold the old reference as a whole path is kept byte for byte.
// On a file built from lines the rules can rewrite and rewrite back (the reference ending a
// keyword's line, or standing between blanks): rewriting old to new and new to old gives the
// file back.
#include <vector>

#include "FuzzInput.h"
#include "platform/Text.h"
#include "references/CaseFoldedFinder.h"
#include "references/ReferenceExtraction.h"
#include "references/ReplacePlan.h"

namespace {

using bw::ContainsIgnoreCase;

constexpr std::string_view kKeywordLeads[] = {"map ", "figureResFile ", "objFileGeom 0 0 ",
                                              "prop "};

bool HoldsKeyword(std::string_view s) {
    return ContainsIgnoreCase(s, "map ") || ContainsIgnoreCase(s, "figureResFile") ||
           ContainsIgnoreCase(s, "objFileGeom") || ContainsIgnoreCase(s, "prop");
}

// Any file: structure and untouched lines.
void CheckAnyFile(std::string_view oldRef, std::string_view newRef, std::string_view bytes) {
    // Two searches for the same thing must agree.
    const bw::CaseFoldedFinder finder(oldRef);
    FUZZ_REQUIRE(finder.Find(bytes) == bw::FindIgnoreCase(bytes, oldRef));

    const std::string out = bw::RewriteReferences(bytes, oldRef, newRef);
    const auto was = bw::SplitLines(bytes);
    size_t pos = 0;
    for (const auto line : was) {
        const size_t end = out.find("\r\n", pos);
        FUZZ_REQUIRE(end != std::string::npos);
        const std::string_view now = std::string_view(out).substr(pos, end - pos);
        if (bw::FindWholeReference(line, oldRef) == std::string_view::npos)
            FUZZ_REQUIRE(now == line);
        pos = end + 2;
    }
    FUZZ_REQUIRE(pos == out.size());
}

int CountIgnoringCase(std::string_view hay, std::string_view needle) {
    int n = 0;
    for (size_t at = bw::FindIgnoreCase(hay, needle); at != std::string_view::npos;
         at = bw::FindIgnoreCase(hay, needle, at + 1))
        ++n;
    return n;
}

// A file of the lines the rules can take back, from the fuzz input; nothing when the input
// cannot make one.
struct Reversible {
    std::string oldRef, newRef, file;
    int occurrences = 0;
};

bool PathToken(std::string_view s) {
    return !s.empty() && s.find_first_of(std::string_view(" \t\r\n\"\0", 6)) == std::string::npos &&
           !HoldsKeyword(s);
}

std::optional<Reversible> BuildReversible(bw::fuzz::FuzzInput& in) {
    Reversible r{in.Field(), in.Field(), {}, 0};
    if (!PathToken(r.oldRef) || !PathToken(r.newRef) || ContainsIgnoreCase(r.oldRef, r.newRef) ||
        ContainsIgnoreCase(r.newRef, r.oldRef))
        return std::nullopt;
    // Each further field is a line: its first byte picks the shape, the rest is filler text.
    while (!in.Rest().empty()) {
        const uint8_t shape = in.Byte();
        const std::string filler = in.Field();
        if (filler.find_first_of("\r\n") != std::string::npos || HoldsKeyword(filler))
            return std::nullopt;
        std::string line;
        switch (shape % 4) {
            case 0:  // no reference
                line = filler;
                break;
            case 1: {  // the reference ends a keyword's line, where the keyword's cut puts it
                const size_t lead = (shape / 4) % 4;
                line = filler + std::string(kKeywordLeads[lead]) + r.oldRef;
                ++r.occurrences;
                const auto image = bw::ImagePathCut(line), geometry = bw::GeometryPathCut(line);
                const auto cut = lead == 0 ? image : geometry;
                if (!cut || cut->start != line.size() - r.oldRef.size() ||
                    (lead == 0 ? geometry : image))
                    return std::nullopt;
                break;
            }
            default:  // the reference between blanks, once or twice
                line = filler + " " + r.oldRef + " " + filler;
                ++r.occurrences;
                if (shape % 4 == 3) line += " " + r.oldRef, ++r.occurrences;
                if (bw::ImagePathCut(line) || bw::GeometryPathCut(line)) return std::nullopt;
                break;
        }
        r.file += line + "\r\n";
    }
    // The old reference only where it was put, the new one nowhere yet.
    if (CountIgnoringCase(r.file, r.oldRef) != r.occurrences ||
        bw::ContainsIgnoreCase(r.file, r.newRef))
        return std::nullopt;
    return r;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    bw::fuzz::FuzzInput in(data, size);
    if (in.Byte() & 1) {
        const auto r = BuildReversible(in);
        if (!r) return 0;
        const std::string there = bw::RewriteReferences(r->file, r->oldRef, r->newRef);
        FUZZ_REQUIRE(!ContainsIgnoreCase(there, r->oldRef));
        FUZZ_REQUIRE(CountIgnoringCase(there, r->newRef) == r->occurrences);
        FUZZ_REQUIRE(bw::RewriteReferences(there, r->newRef, r->oldRef) == r->file);
    } else {
        const std::string oldRef = in.Field(), newRef = in.Field();
        // A line end in the new reference makes lines of its own, which the line-by-line
        // comparison below cannot pair up.
        if (newRef.find_first_of("\r\n") != std::string::npos) return 0;
        CheckAnyFile(oldRef, newRef, in.Rest());
    }
    return 0;
}
