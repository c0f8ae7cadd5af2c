#include "repair/RepairBatch.h"

#include <algorithm>
#include <map>
#include <string_view>

#include "check/LibraryFileReader.h"
#include "platform/FileSystem.h"
#include "platform/PlatformError.h"
#include "references/ReplacePlan.h"
#include "repair/GzipBytes.h"

namespace bw::repair {

namespace {

// A line and the line end after it ("" for a last line without one).
struct Line {
    std::string_view text, end;
};

std::vector<Line> SplitKeepingEnds(std::string_view bytes) {
    std::vector<Line> lines;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.push_back({bytes.substr(start), {}});
            break;
        }
        const size_t endLength =
            bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n' ? 2 : 1;
        lines.push_back({bytes.substr(start, end - start), bytes.substr(end, endLength)});
        start = end + endLength;
    }
    return lines;
}

std::string Join(const std::vector<Line>& lines, const std::map<uint32_t, std::string>& edited,
                 size_t sizeHint) {
    std::string out;
    out.reserve(sizeHint + sizeHint / 16 + 64);
    for (size_t i = 0; i < lines.size(); ++i) {
        const auto it = edited.find(static_cast<uint32_t>(i + 1));
        if (it != edited.end())
            out += it->second;
        else
            out += lines[i].text;
        out += lines[i].end;
    }
    return out;
}

// Why the new reference cannot be written, or "".
std::string Unwritable(const ReferenceChange& c) {
    if (c.newReference.empty()) return "no new reference";
    // A line end would split the library file's line in two; a quote would end the path early.
    if (c.newReference.find_first_of("\r\n\"") != std::string::npos)
        return "the new location's name holds a line end or a double quote";
    if (c.oldReference.empty()) return "no old reference";
    return {};
}

void RefuseAll(RepairPlan& plan, const std::vector<ReferenceChange>& changes,
               const std::string& reason) {
    for (const auto& c : changes) plan.refused.push_back({c, reason});
}

// Adds the file to the plan when a line of it changes; refuses what cannot be done.
void PlanFile(const FileSystem& fs, const std::string& file,
              const std::vector<ReferenceChange>& changes, RepairPlan& plan) {
    FileRepair repair;
    repair.file = file;
    repair.compressed = check::IsCompressedLibraryFileName(file);
    std::string text;
    try {
        if (!fs.driveMap().CanNameHostPath(file))
            throw PlatformError(err::kBadFileName,
                                "its path holds a name no Windows path can carry");
        repair.oldBytes = fs.ReadFile(fs.WindowsPath(file));
        text =
            repair.compressed ? Gunzip(repair.oldBytes, check::kDefaultSizeCap) : repair.oldBytes;
    } catch (const PlatformError& e) {
        RefuseAll(plan, changes, "the file cannot be read: " + e.description());
        return;
    }
    const auto lines = SplitKeepingEnds(text);
    std::map<uint32_t, std::string> edited;
    std::map<uint32_t, std::vector<ReferenceChange>> carried;
    for (const auto& c : changes) {
        if (const auto why = Unwritable(c); !why.empty()) {
            plan.refused.push_back({c, why});
            continue;
        }
        if (c.line == 0 || c.line > lines.size()) {
            plan.refused.push_back({c, "the file has no line " + std::to_string(c.line) +
                                           " any more; it changed since the check"});
            continue;
        }
        auto [it, fresh] = edited.try_emplace(c.line, lines[c.line - 1].text);
        const size_t at = FindWholeReference(it->second, c.oldReference);
        if (at == std::string::npos) {
            if (fresh) edited.erase(it);
            plan.refused.push_back({c, "line " + std::to_string(c.line) + " no longer holds " +
                                           c.oldReference + "; the file changed since the check"});
            continue;
        }
        it->second = RewriteLine(it->second, at, c.oldReference, "\"" + c.newReference + "\"");
        carried[c.line].push_back(c);
    }
    for (auto& [line, newText] : edited) {
        const std::string_view oldText = lines[line - 1].text;
        if (newText == oldText) {
            RefuseAll(plan, carried[line], "line " + std::to_string(line) + " reads so already");
            continue;
        }
        repair.lines.push_back({line, std::string(oldText), newText, std::move(carried[line])});
    }
    if (repair.lines.empty()) return;
    std::string newText = Join(lines, edited, text.size());
    try {
        repair.newBytes = repair.compressed ? Gzip(newText) : std::move(newText);
    } catch (const PlatformError& e) {
        for (const auto& l : repair.lines) RefuseAll(plan, l.changes, e.description());
        return;
    }
    plan.files.push_back(std::move(repair));
}

}  // namespace

size_t RepairPlan::LineCount() const {
    size_t n = 0;
    for (const auto& f : files) n += f.lines.size();
    return n;
}

RepairPlan PlanRepairBatch(const FileSystem& fs, const std::vector<ReferenceChange>& changes) {
    std::map<std::string, std::vector<ReferenceChange>> byFile;
    for (const auto& c : changes) {
        auto& list = byFile[c.file];
        if (std::find(list.begin(), list.end(), c) == list.end()) list.push_back(c);
    }
    RepairPlan plan;
    for (auto& [file, list] : byFile) {
        std::stable_sort(list.begin(), list.end(),
                         [](const auto& a, const auto& b) { return a.line < b.line; });
        PlanFile(fs, file, list, plan);
    }
    return plan;
}

}  // namespace bw::repair
