#pragma once

#include <zlib.h>

#include <atomic>
#include <stdexcept>
#include <string>
#include <vector>

#include "check/CheckReport.h"
#include "check/LibraryCheck.h"

namespace bw::check::fixture {

// The bytes gzip would write for `data`.
inline std::string Gzip(const std::string& data) {
    z_stream z{};
    if (deflateInit2(&z, 6, Z_DEFLATED, 16 + MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        throw std::runtime_error("deflateInit2");
    std::string out(deflateBound(&z, data.size()) + 32, '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    z.avail_in = static_cast<uInt>(data.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = static_cast<uInt>(out.size());
    deflate(&z, Z_FINISH);
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

// Keeps every row a check hands over.
class RowCollector : public CheckObserver {
  public:
    void OnRows(std::vector<CheckRow>&& rows) override {
        for (auto& r : rows) rows_.push_back(std::move(r));
    }
    void OnProgress(const CheckProgress& p) override { progress.push_back(p); }
    std::vector<CheckRow> rows_;
    std::vector<CheckProgress> progress;
};

// A row as one line of text, paths shown below `root`: "Libraries/a.cr2:3 textureMap x.jpg moved
// Textures/b/x.jpg".
inline std::string RowText(const CheckRow& row, const std::string& root) {
    const auto local = [&root](const std::string& p) {
        return p.compare(0, root.size() + 1, root + "/") == 0 ? p.substr(root.size() + 1) : p;
    };
    std::string text = local(row.file) + ":" + std::to_string(row.line) + " " +
                       std::string(row.keyword ? KeywordName(*row.keyword) : "-") + " " +
                       row.reference.str() + " " + std::string(StatusName(row.status));
    for (const auto& c : row.candidates) text += " " + local(c);
    if (!row.reason.empty()) text += " (" + row.reason + ")";
    return text;
}

struct CheckResult {
    CheckSummary summary;
    std::vector<std::string> rows;  // RowText of each, sorted by file and line
};

// Runs a check and answers its rows as text.
inline CheckResult RunCheck(const CheckOptions& options) {
    RowCollector collector;
    const std::atomic<bool> cancel{false};
    CheckResult result{RunLibraryCheck(options, collector, cancel), {}};
    SortRows(collector.rows_);
    for (const auto& r : collector.rows_) result.rows.push_back(RowText(r, options.runtime));
    return result;
}

}  // namespace bw::check::fixture
