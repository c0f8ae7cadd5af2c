#pragma once

#include <string>
#include <string_view>

namespace bw {

// The reference a repair writes, from a "Found in: " line: the found path from "\Runtime" on
// (case ignored; the whole path when it holds none), with ":" for "\", in double quotes.
std::string NewReferenceFromLocation(std::string_view locationText);

// The backup of a library file: the same path with "bak" in place of its last three characters.
std::string BackupPathOf(std::string_view filePath);

// One line that holds the old reference at `at`, rewritten so that the listing of references cuts
// the new reference from the place it cut the old one: after "map " on an image line, after the
// geometry keyword and its fields on a figure line; elsewhere the old path (with its quotes) is
// replaced where it stands.
std::string RewriteLine(std::string_view line, size_t at, std::string_view oldReference,
                        std::string_view newReference);

// The whole file with every line that holds the old reference (case ignored) rewritten and every
// line ending in CR LF; all other lines are kept byte for byte. An empty old reference changes no
// line.
std::string RewriteReferences(std::string_view bytes, std::string_view oldReference,
                              std::string_view newReference);

}  // namespace bw
