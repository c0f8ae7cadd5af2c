#pragma once

#include <optional>
#include <string>

namespace bw {

// Private-profile (INI) access with the semantics of the classic Windows calls, on host paths.

// Size of the reader's buffer: at most kProfileBufferSize - 1 characters come back.
inline constexpr size_t kProfileBufferSize = 50;

// The value of [section] key (section and key matched without regard to case, first match wins),
// with blanks at both ends removed and one pair of enclosing quotes dropped; `defaultValue` when
// the file, section or key is missing. Either way cut to the buffer size. Never throws.
std::string GetPrivateProfileString(const std::string& section, const std::string& key,
                                    const std::string& defaultValue, const std::string& iniHostPath,
                                    size_t bufferSize = kProfileBufferSize);

// Sets [section] key=value, creating the file, section and key as needed and keeping every other
// line (and a leading byte-order mark) as it was. New lines end in CR LF. A link is kept: its
// target is rewritten. Throws PlatformError when the file cannot be written (76 when its folder
// is missing), and 5 when the section, key or value holds a CR or LF.
void WritePrivateProfileString(const std::string& section, const std::string& key,
                               const std::string& value, const std::string& iniHostPath);

// As WritePrivateProfileString, and also makes the last line of the file that begins with `key`
// (case-sensitive, any section) read key=value, so a reader that takes the last such line finds
// the value written.
void WritePrivateProfilePath(const std::string& section, const std::string& key,
                             const std::string& value, const std::string& iniHostPath);

// Replaces the whole file by `bytes`, all or nothing; a link is kept and its target replaced.
// Throws PlatformError as WritePrivateProfileString does.
void WriteProfileFile(const std::string& iniHostPath, const std::string& bytes);

// The file's bytes without a leading UTF-8 byte-order mark; nothing when it cannot be read.
std::optional<std::string> ReadProfileFile(const std::string& iniHostPath);

}  // namespace bw
