#pragma once

#include <ostream>
#include <vector>

#include "check/CheckTypes.h"
#include "check/LibraryCheck.h"

namespace bw::check {

enum class TextDetail { ProblemsOnly, AllRows };

// Sorts rows by library file, then line, so every report reads the same from run to run.
void SortRows(std::vector<CheckRow>& rows);

// A human-readable report: the rows grouped under their library file, then a summary line.
void WriteTextReport(std::ostream& out, const std::vector<CheckRow>& rows,
                     const CheckSummary& summary, TextDetail detail);
// One JSON array of objects with the keys file, line, keyword, reference, status, candidates
// (and reason, for unreadable rows). Bytes that are not UTF-8 are read as Latin-1.
void WriteJsonReport(std::ostream& out, const std::vector<CheckRow>& rows);
// CSV with a header line: file,line,keyword,reference,status,candidates,reason; the candidates
// are joined by "|".
void WriteCsvReport(std::ostream& out, const std::vector<CheckRow>& rows);

}  // namespace bw::check
