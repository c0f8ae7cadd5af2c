#pragma once

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
// line as it was. New lines end in CR LF. Throws PlatformError when the file cannot be written.
void WritePrivateProfileString(const std::string& section, const std::string& key,
                               const std::string& value, const std::string& iniHostPath);

}  // namespace bw
