#pragma once

#include <ostream>
#include <string>
#include <string_view>
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
// One CSV field: quoted, inner quotes doubled, when it holds a comma, a quote or a line end.
std::string CsvField(const std::string& text);
// One self-contained HTML page (inline style, no scripts): `heading`, the rows' counts by status
// and a table of Status, Library file, Line, Keyword, Reference and Found at, paths shown as
// ShownPath gives them. Every text is escaped; bytes that are not UTF-8 are read as Latin-1.
void WriteHtmlReport(std::ostream& out, const std::vector<CheckRow>& rows,
                     const std::string& runtime, const std::string& heading);

// "OK", "Moved", "Ambiguous", "Missing", "Internal", "Unreadable".
std::string_view StatusTitle(RefStatus status);
// A host path below `runtime` as the rest of it with "\" separators ("Libraries\Pose\a.pz2");
// any other path as it is.
std::string ShownPath(const std::string& hostPath, const std::string& runtime);
// Text for HTML content and attribute values: & < > " ' as character references, control
// characters other than tab, line feed and carriage return as U+FFFD, the rest as UTF-8 (bytes
// that are not UTF-8 read as Latin-1).
std::string HtmlEscaped(std::string_view text);

}  // namespace bw::check
