#include "check/ReportView.h"

#include <algorithm>

namespace bw::check {

namespace {

char Folded(char c) {
    if (c >= 'A' && c <= 'Z') return static_cast<char>(c - 'A' + 'a');
    return c == '\\' ? '/' : c;
}

std::string_view KeywordText(const CheckRow& row) {
    return row.keyword ? KeywordName(*row.keyword) : std::string_view();
}

std::string_view FirstCandidate(const CheckRow& row) {
    return row.candidates.empty() ? std::string_view() : std::string_view(row.candidates.front());
}

template <typename T>
int Compare(const T& a, const T& b) {
    return a < b ? -1 : b < a ? 1 : 0;
}

}  // namespace

void RowFilter::SetText(std::string_view text) {
    text_.clear();
    for (const char c : text) text_ += Folded(c);
}

std::string_view RowFilter::BelowRuntime(const std::string& path) const {
    const std::string_view p(path);
    if (!runtime_.empty() && p.size() > runtime_.size() &&
        p.substr(0, runtime_.size()) == runtime_ && p[runtime_.size()] == '/')
        return p.substr(runtime_.size() + 1);
    return p;
}

bool RowFilter::HoldsText(std::string_view haystack) const {
    return std::search(haystack.begin(), haystack.end(), text_.begin(), text_.end(),
                       [](char h, char n) { return Folded(h) == n; }) != haystack.end();
}

bool RowFilter::Accepts(const CheckRow& row) const {
    if (!(statuses_ & StatusBit(row.status))) return false;
    if (text_.empty()) return true;
    if (HoldsText(BelowRuntime(row.file)) || HoldsText(row.reference.str()) ||
        HoldsText(KeywordText(row)) || HoldsText(row.reason))
        return true;
    return std::any_of(row.candidates.begin(), row.candidates.end(),
                       [this](const std::string& c) { return HoldsText(BelowRuntime(c)); });
}

bool RowLess(const CheckRow& a, const CheckRow& b, ReportColumn column) {
    int order = 0;
    switch (column) {
        case ReportColumn::Status:
            order = Compare(a.status, b.status);
            break;
        case ReportColumn::File:
        case ReportColumn::Line:
            break;  // the tie-break below is this order
        case ReportColumn::Keyword:
            order = KeywordText(a).compare(KeywordText(b));
            break;
        case ReportColumn::Reference:
            order = a.reference.compare(b.reference);
            break;
        case ReportColumn::FoundAt:
            order = FirstCandidate(a).compare(FirstCandidate(b));
            break;
    }
    if (order == 0 && column == ReportColumn::Line) order = Compare(a.line, b.line);
    if (order == 0) order = a.file.compare(b.file);
    if (order == 0) order = Compare(a.line, b.line);
    return order < 0;
}

}  // namespace bw::check
