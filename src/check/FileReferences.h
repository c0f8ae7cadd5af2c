#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "check/CheckTypes.h"
#include "check/PathTable.h"

namespace bw::check {

// The references of one library file, their paths kept side by side in one string: a check holds
// those of every file until it stores them, and a string per reference would cost an allocation
// each.
class FileReferences {
  public:
    void Add(uint32_t line, Keyword keyword, std::string_view path) {
        entries_.push_back({PathHash(path), line, keyword, static_cast<uint32_t>(paths_.size()),
                            static_cast<uint32_t>(path.size())});
        paths_.append(path);
    }
    void Clear() {
        entries_.clear();
        paths_.clear();
    }
    // A copy that fits: a reading thread keeps its own, grown once, and hands these on.
    FileReferences Fitted() const {
        FileReferences copy;
        copy.entries_.reserve(entries_.size());
        copy.entries_.assign(entries_.begin(), entries_.end());
        copy.paths_.reserve(paths_.size());
        copy.paths_.assign(paths_);
        return copy;
    }

    size_t size() const { return entries_.size(); }
    bool empty() const { return entries_.empty(); }
    uint32_t line(size_t i) const { return entries_[i].line; }
    Keyword keyword(size_t i) const { return entries_[i].keyword; }
    uint64_t hash(size_t i) const { return entries_[i].hash; }  // PathHash of path(i)
    std::string_view path(size_t i) const {
        return std::string_view(paths_).substr(entries_[i].at, entries_[i].size);
    }

    std::vector<ExtractedReference> ToVector() const {
        std::vector<ExtractedReference> out;
        out.reserve(size());
        for (size_t i = 0; i < size(); ++i)
            out.push_back({line(i), keyword(i), std::string(path(i))});
        return out;
    }

  private:
    struct Entry {
        uint64_t hash;
        uint32_t line;
        Keyword keyword;
        uint32_t at, size;  // of its path in paths_
    };
    std::vector<Entry> entries_;
    std::string paths_;
};

}  // namespace bw::check
