#include "references/ReplacePlan.h"

#include <algorithm>

#include "platform/Text.h"
#include "references/CaseFoldedFinder.h"
#include "references/ReferenceExtraction.h"

namespace bw {

namespace {

constexpr size_t kLocationPrefixLength = 10;  // "Found in: "

bool OpensPath(char c) { return c == ' ' || c == '\t' || c == '"' || c == ':' || c == '\\'; }
bool ClosesPath(char c) { return c == ' ' || c == '\t' || c == '"'; }

// True when the listing would begin a path at `at`: where a keyword's cut puts it.
bool IsCutStart(std::string_view line, size_t at) {
    const auto image = ImagePathCut(line);
    const auto geometry = GeometryPathCut(line);
    return (image && image->start == at) || (geometry && geometry->start == at);
}

// Replaces every whole occurrence of the old path by the new reference. An occurrence that ends a
// longer path takes that path's folders with it, and double quotes around the path go too, so the
// line names one path, not the new one glued to the old folders.
std::string ReplaceInPlace(std::string_view line, size_t at, std::string_view oldReference,
                           std::string_view newReference) {
    std::string out;
    size_t done = 0;
    while (at != std::string_view::npos) {
        size_t from = at, to = at + oldReference.size();
        while (from > done && !ClosesPath(line[from - 1])) --from;
        if (from > done && line[from - 1] == '"' && to < line.size() && line[to] == '"')
            --from, ++to;
        out.append(line.substr(done, from - done));
        out.append(newReference);
        done = to;
        at = FindWholeReference(line, oldReference, done);
    }
    out.append(line.substr(done));
    return out;
}

}  // namespace

size_t FindWholeReference(std::string_view line, std::string_view oldReference, size_t from) {
    if (oldReference.empty()) return std::string_view::npos;
    for (size_t at = FindIgnoreCase(line, oldReference, from); at != std::string_view::npos;
         at = FindIgnoreCase(line, oldReference, at + 1)) {
        const size_t end = at + oldReference.size();
        const bool opens = at == 0 || OpensPath(line[at - 1]) || IsCutStart(line, at);
        const bool closes = end == line.size() || ClosesPath(line[end]);
        if (opens && closes) return at;
    }
    return std::string_view::npos;
}

std::string NewReferenceFromLocation(std::string_view locationText) {
    std::string path(locationText.substr(std::min(kLocationPrefixLength, locationText.size())));
    const size_t runtime = FindIgnoreCase(path, "\\Runtime");
    if (runtime != std::string::npos) path.erase(0, runtime);
    std::replace(path.begin(), path.end(), '\\', ':');
    return "\"" + path + "\"";
}

std::string BackupPathOf(std::string_view filePath) {
    return std::string(filePath.substr(0, filePath.size() - std::min<size_t>(3, filePath.size()))) +
           "bak";
}

std::string RewriteLine(std::string_view line, size_t at, std::string_view oldReference,
                        std::string_view newReference) {
    // The keyword must stand before the old path; one that only follows it is no cut for it.
    if (auto cut = ImagePathCut(line); cut && cut->start <= at)
        return std::string(line.substr(0, cut->start)) + std::string(newReference);
    if (auto cut = GeometryPathCut(line); cut && cut->start <= at)
        return std::string(line.substr(0, cut->start)) + std::string(newReference);
    return ReplaceInPlace(line, at, oldReference, newReference);
}

std::string RewriteReferences(std::string_view bytes, std::string_view oldReference,
                              std::string_view newReference) {
    const CaseFoldedFinder finder(oldReference);
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 16 + 64);
    // The next occurrence in the whole file; lines before it are copied without being searched.
    size_t next = oldReference.empty() ? std::string_view::npos : finder.Find(bytes);
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find_first_of("\r\n", start);
        if (end == std::string_view::npos) end = bytes.size();
        const std::string_view line = bytes.substr(start, end - start);
        if (next != std::string_view::npos && next + oldReference.size() <= end) {
            // Only a whole path counts: "a.jpg" is no reference inside "mega.jpg" or "a.jpg.bak".
            const size_t at = FindWholeReference(line, oldReference, next - start);
            if (at == std::string_view::npos)
                out.append(line);
            else
                out += RewriteLine(line, at, oldReference, newReference);
            next = finder.Find(bytes, end);
        } else {
            out.append(line);
        }
        out += "\r\n";
        start = end;
        if (start < bytes.size())
            start += (bytes[start] == '\r' && start + 1 < bytes.size() && bytes[start + 1] == '\n')
                         ? 2
                         : 1;
    }
    return out;
}

}  // namespace bw
