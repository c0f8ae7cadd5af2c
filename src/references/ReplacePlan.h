#pragma once

#include <string>
#include <string_view>

namespace bw {

// The reference a repair writes, from a "Found in: " line: the found path from "\Runtime" on
// (case ignored; the whole path when it holds none), with ":" for "\", in double quotes.
std::string NewReferenceFromLocation(std::string_view locationText);

// The backup of a library file: the same path with "bak" in place of its last three characters.
std::string BackupPathOf(std::string_view filePath);

// Where the line holds the old reference (case ignored) as a whole path, at or after `from`: opened
// by the line's start, a blank, a quote, a ":" or "\\", or the place a keyword's cut puts a path,
// and closed by the line's end, a blank or a quote. npos when it does not, or the reference is
// empty.
size_t FindWholeReference(std::string_view line, std::string_view oldReference, size_t from = 0);

// One line that holds the old reference as a whole path at `at`, rewritten so that the listing of
// references cuts the new reference from the place it cut the old one: after "map " on an image
// line, after the geometry keyword and its fields on a figure line; elsewhere the old path (with
// its quotes) is replaced wherever it stands whole.
std::string RewriteLine(std::string_view line, size_t at, std::string_view oldReference,
                        std::string_view newReference);

// The whole file with every line that holds the old reference as a whole path rewritten and every
// line ending in CR LF; all other lines are kept byte for byte. An empty old reference changes no
// line.
std::string RewriteReferences(std::string_view bytes, std::string_view oldReference,
                              std::string_view newReference);

}  // namespace bw
