#pragma once

#include <string>
#include <string_view>

#include "check/CheckTypes.h"

namespace bw::check {

// The columns of a check's report, in the order shown.
enum class ReportColumn { Status, File, Line, Keyword, Reference, FoundAt };
inline constexpr int kReportColumnCount = 6;

// A set of statuses, one bit each (bit n: RefStatus n).
using StatusSet = unsigned;
inline constexpr StatusSet StatusBit(RefStatus s) { return 1u << static_cast<unsigned>(s); }
inline constexpr StatusSet kAllStatuses = (1u << kStatusCount) - 1;
inline constexpr StatusSet kProblemStatuses =
    StatusBit(RefStatus::Moved) | StatusBit(RefStatus::Ambiguous) | StatusBit(RefStatus::Missing) |
    StatusBit(RefStatus::Unreadable);

// Which rows a report shows: those of the chosen statuses that hold the typed text, without regard
// to ASCII letter case, in the library file's path below the Runtime folder ("\" or "/" alike),
// the reference, the keyword, a found-at path or an unreadable file's reason. Typing an image's
// name thus lists the library files that use it.
class RowFilter {
  public:
    // `runtime`: the host path of the checked Runtime folder.
    explicit RowFilter(std::string runtime = {}) : runtime_(std::move(runtime)) {}
    void SetStatuses(StatusSet statuses) { statuses_ = statuses; }
    void SetText(std::string_view text);
    StatusSet statuses() const { return statuses_; }
    bool Accepts(const CheckRow& row) const;

  private:
    bool HoldsText(std::string_view haystack) const;
    std::string_view BelowRuntime(const std::string& path) const;

    std::string runtime_;
    StatusSet statuses_ = kAllStatuses;
    std::string text_;  // lower case, "\" as "/"
};

// The order of a report sorted by `column` ascending: by that column's value (numbers as numbers,
// statuses in RefStatus order, texts by their bytes), ties by library file, then line.
bool RowLess(const CheckRow& a, const CheckRow& b, ReportColumn column);

}  // namespace bw::check
