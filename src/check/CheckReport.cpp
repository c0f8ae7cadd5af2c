#include "check/CheckReport.h"

#include <algorithm>
#include <nlohmann/json.hpp>

namespace bw::check {

namespace {

bool IsUtf8(const std::string& s) {
    for (size_t i = 0; i < s.size();) {
        const auto b = static_cast<unsigned char>(s[i]);
        const size_t n = b < 0x80           ? 1
                         : (b >> 5) == 0x6  ? 2
                         : (b >> 4) == 0xE  ? 3
                         : (b >> 3) == 0x1E ? 4
                                            : 0;
        if (n == 0 || i + n > s.size() || (n == 2 && b < 0xC2)) return false;
        for (size_t k = 1; k < n; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
        i += n;
    }
    return true;
}

// Names on Linux and bytes of library files need not be UTF-8; JSON text must be.
std::string AsUtf8(const std::string& bytes) {
    if (IsUtf8(bytes)) return bytes;
    std::string out;
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x80) {
            out.push_back(c);
        } else {
            out.push_back(static_cast<char>(0xC0 | (b >> 6)));
            out.push_back(static_cast<char>(0x80 | (b & 0x3F)));
        }
    }
    return out;
}

std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

std::string_view KeywordText(const CheckRow& row) {
    return row.keyword ? KeywordName(*row.keyword) : std::string_view();
}

}  // namespace

void SortRows(std::vector<CheckRow>& rows) {
    // Rows come file by file, so sorting the runs of one file costs far fewer comparisons of
    // long paths than sorting the rows.
    struct Run {
        size_t begin, end;
    };
    std::vector<Run> runs;
    for (size_t i = 0; i < rows.size();) {
        size_t j = i + 1;
        while (j < rows.size() && rows[j].file == rows[i].file) ++j;
        runs.push_back({i, j});
        i = j;
    }
    std::stable_sort(runs.begin(), runs.end(), [&rows](const Run& a, const Run& b) {
        return rows[a.begin].file < rows[b.begin].file;
    });
    std::vector<CheckRow> sorted;
    sorted.reserve(rows.size());
    for (const auto& run : runs)
        for (size_t i = run.begin; i < run.end; ++i) sorted.push_back(std::move(rows[i]));
    const auto byFileThenLine = [](const CheckRow& a, const CheckRow& b) {
        return a.file != b.file ? a.file < b.file : a.line < b.line;
    };
    if (!std::is_sorted(sorted.begin(), sorted.end(), byFileThenLine))
        std::stable_sort(sorted.begin(), sorted.end(), byFileThenLine);
    rows = std::move(sorted);
}

void WriteTextReport(std::ostream& out, const std::vector<CheckRow>& rows,
                     const CheckSummary& summary, TextDetail detail) {
    const std::string* current = nullptr;
    for (const auto& row : rows) {
        if (detail == TextDetail::ProblemsOnly && !IsProblem(row.status)) continue;
        if (!current || *current != row.file) {
            out << (current ? "\n" : "") << row.file << "\n";
            current = &row.file;
        }
        if (row.status == RefStatus::Unreadable) {
            out << "  unreadable: " << row.reason << "\n";
            continue;
        }
        out << "  line " << row.line << ": " << KeywordText(row) << " " << row.reference << "  ["
            << StatusName(row.status) << "]\n";
        for (const auto& c : row.candidates) out << "      found at " << c << "\n";
    }
    if (current) out << "\n";
    out << summary.files << " library files, " << summary.references
        << " references: " << summary.count(RefStatus::Ok) << " ok, "
        << summary.count(RefStatus::Moved) << " moved, " << summary.count(RefStatus::Ambiguous)
        << " ambiguous, " << summary.count(RefStatus::Missing) << " missing, "
        << summary.count(RefStatus::Internal) << " internal; "
        << summary.count(RefStatus::Unreadable) << " unreadable\n";
}

void WriteJsonReport(std::ostream& out, const std::vector<CheckRow>& rows) {
    // One object a line keeps a large report readable and easy to filter.
    out << "[";
    const char* separator = "\n";
    for (const auto& row : rows) {
        nlohmann::ordered_json candidates = nlohmann::ordered_json::array();
        for (const auto& c : row.candidates) candidates.push_back(AsUtf8(c));
        nlohmann::ordered_json o = {
            {"file", AsUtf8(row.file)},         {"line", row.line},
            {"keyword", KeywordText(row)},      {"reference", AsUtf8(row.reference)},
            {"status", StatusName(row.status)}, {"candidates", std::move(candidates)}};
        if (row.status == RefStatus::Unreadable) o["reason"] = AsUtf8(row.reason);
        out << separator
            << o.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
        separator = ",\n";
    }
    out << "\n]\n";
}

void WriteCsvReport(std::ostream& out, const std::vector<CheckRow>& rows) {
    out << "file,line,keyword,reference,status,candidates,reason\r\n";
    for (const auto& row : rows) {
        std::string candidates;
        for (const auto& c : row.candidates) candidates += (candidates.empty() ? "" : "|") + c;
        out << CsvField(row.file) << ',' << row.line << ',' << KeywordText(row) << ','
            << CsvField(row.reference) << ',' << StatusName(row.status) << ','
            << CsvField(candidates) << ',' << CsvField(row.reason) << "\r\n";
    }
}

}  // namespace bw::check
