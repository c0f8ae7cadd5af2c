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

std::string_view KeywordText(const CheckRow& row) {
    return row.keyword ? KeywordName(*row.keyword) : std::string_view();
}

constexpr const char* kHtmlStyle =
    "body{font-family:sans-serif;margin:1.5em;color:#222;background:#fff}"
    "h1{font-size:1.3em;margin:0 0 .5em}"
    "p.counts span{display:inline-block;margin-right:1.5em}"
    "table{border-collapse:collapse;width:100%;font-size:.9em}"
    "th,td{border:1px solid #ccc;padding:3px 6px;text-align:left;vertical-align:top}"
    "th{background:#eee}"
    "td.line{text-align:right}"
    "tr.moved td.status,tr.ambiguous td.status{color:#a35a00;font-weight:bold}"
    "tr.missing td.status,tr.unreadable td.status{color:#b00000;font-weight:bold}"
    "tr.ok td.status,tr.internal td.status{color:#2e6b2e}";

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
            current = &row.file.str();
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

std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
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

std::string_view StatusTitle(RefStatus status) {
    static constexpr std::string_view kTitles[kStatusCount] = {"OK",      "Moved",    "Ambiguous",
                                                               "Missing", "Internal", "Unreadable"};
    return kTitles[static_cast<size_t>(status)];
}

std::string ShownPath(const std::string& hostPath, const std::string& runtime) {
    if (runtime.empty() || hostPath.size() <= runtime.size() + 1 ||
        hostPath.compare(0, runtime.size(), runtime) != 0 || hostPath[runtime.size()] != '/')
        return hostPath;
    std::string rest = hostPath.substr(runtime.size() + 1);
    std::replace(rest.begin(), rest.end(), '/', '\\');
    return rest;
}

std::string HtmlEscaped(std::string_view text) {
    const std::string utf8 = AsUtf8(std::string(text));
    std::string out;
    out.reserve(utf8.size());
    for (const char c : utf8) {
        const auto b = static_cast<unsigned char>(c);
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += "&#39;";
                break;
            default:
                if ((b < 0x20 && c != '\t' && c != '\n' && c != '\r') || b == 0x7F)
                    out += "\xEF\xBF\xBD";
                else
                    out += c;
        }
    }
    return out;
}

void WriteHtmlReport(std::ostream& out, const std::vector<CheckRow>& rows,
                     const std::string& runtime, const std::string& heading) {
    size_t counts[kStatusCount] = {};
    for (const auto& row : rows) ++counts[static_cast<size_t>(row.status)];
    const std::string title = HtmlEscaped(heading);
    out << "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n<title>" << title
        << "</title>\n<style>" << kHtmlStyle << "</style>\n</head>\n<body>\n<h1>" << title
        << "</h1>\n<p class=\"counts\">";
    // Problems first, as the window lists them.
    for (const auto s : {RefStatus::Moved, RefStatus::Ambiguous, RefStatus::Missing,
                         RefStatus::Unreadable, RefStatus::Ok, RefStatus::Internal})
        out << "<span>" << StatusTitle(s) << ": " << counts[static_cast<size_t>(s)] << "</span>";
    out << "</p>\n<table>\n<thead><tr><th>Status</th><th>Library file</th><th>Line</th>"
           "<th>Keyword</th><th>Reference</th><th>Found at</th></tr></thead>\n<tbody>\n";
    for (const auto& row : rows) {
        out << "<tr class=\"" << StatusName(row.status) << "\"><td class=\"status\">"
            << StatusTitle(row.status) << "</td><td>" << HtmlEscaped(ShownPath(row.file, runtime))
            << "</td><td class=\"line\">";
        if (row.line > 0) out << row.line;
        out << "</td><td>" << KeywordText(row) << "</td><td>"
            << HtmlEscaped(row.status == RefStatus::Unreadable ? row.reason : row.reference.str())
            << "</td><td>";
        for (size_t i = 0; i < row.candidates.size(); ++i)
            out << (i ? "<br>" : "") << HtmlEscaped(ShownPath(row.candidates[i], runtime));
        out << "</td></tr>\n";
    }
    out << "</tbody>\n</table>\n</body>\n</html>\n";
}

}  // namespace bw::check
