#pragma once

#include <string>
#include <string_view>

namespace bw {

// Finds one name in large blocks of bytes, ignoring the case of ASCII letters. Built once per
// search, so a scan through a whole library pays for the set-up only once.
class CaseFoldedFinder {
  public:
    explicit CaseFoldedFinder(std::string_view needle);

    // Position of the first occurrence at or after `from`, or npos; an empty needle is found at
    // `from`.
    size_t Find(std::string_view hay, size_t from = 0) const;
    size_t size() const { return needle_.size(); }
    // The needle, lower-cased.
    const std::string& needle() const { return needle_; }

  private:
    bool MatchesAt(const char* at) const;

    std::string needle_;
    unsigned char first_ = 0, last_ = 0;
    // 0x20 for letters, whose case bit is ignored; 0 for every other byte, compared exactly.
    unsigned char firstFold_ = 0, lastFold_ = 0;
};

}  // namespace bw
