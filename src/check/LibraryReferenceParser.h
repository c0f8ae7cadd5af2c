#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include "check/BlockSink.h"
#include "check/CheckTypes.h"
#include "check/FileReferences.h"

namespace bw::check {

// Finds the file references of a library file as its bytes stream in, block by block, holding
// only one block and the line being read. A reference is a line that begins (after blanks) with
// one of the keywords, followed by a path: quoted or not, after objFileGeom's two numbers and
// objFile's one. NO_MAP, _NONE_ and an empty value name no file.
class LibraryReferenceParser : public BlockSink {
  public:
    static constexpr size_t kBlockSize = 256 * 1024;
    // A line longer than this is read in parts; only its first part can start a reference.
    static constexpr size_t kMaxLine = 4 * 1024 * 1024;

    LibraryReferenceParser();

    // Starts on a new file, keeping the buffer.
    void Reset();

    std::span<char> Space() override;
    void Commit(size_t count) override;
    // A file that will fit whole is read in one scan at Finish.
    void ExpectSize(uint64_t bytes) override;
    // Reads the last line, which needs no line end.
    void Finish();

    // The references found so far, in line order.
    std::vector<ExtractedReference> references() const { return refs_.ToVector(); }
    std::vector<ExtractedReference> TakeReferences() {
        auto refs = refs_.ToVector();
        refs_.Clear();
        return refs;
    }
    FileReferences TakeFileReferences() {
        FileReferences refs = refs_.Fitted();
        refs_.Clear();
        return refs;
    }

    // All references of a whole file held in memory.
    static std::vector<ExtractedReference> Parse(std::string_view bytes);

  private:
    // Reads the lines in buf_[0, end); `end` is a line end, or the end of the data.
    void Scan(size_t end);

    void Reserve(size_t capacity);

    struct Free {
        void operator()(char* p) const;
    };
    // Page-aligned, not cleared: every byte read is written first. The kernel copies a file's
    // pages into it several times faster when they line up with its own.
    std::unique_ptr<char[], Free> buf_;
    size_t capacity_ = 0;
    size_t fill_ = 0;
    uint32_t line_ = 1;           // the line that buf_[0] lies on
    bool continuation_ = false;   // buf_[0] is inside a line that began in an earlier part
    bool wholeAtFinish_ = false;  // the expected bytes fit the buffer: Commit leaves them to Finish
    FileReferences refs_;
};

}  // namespace bw::check
