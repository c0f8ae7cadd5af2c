#pragma once

#include <cstdint>
#include <string>

#include "platform/Text.h"  // IsNumeric, for the values read back

namespace bw {

class AppState;

// The settings record, read once at start-up and consulted for the whole run.
struct Settings {
    std::string iniPath;  // Windows path of the settings file
    int32_t BackColor = 15136253;
    int32_t ShadowColor = 16744576;
    int32_t TextColor = 0;
    int32_t ButtonColor = -2147483633;
    int32_t PoserFileColor = 64;
    int32_t ImageFileColor = 16384;
    int32_t SystemFileColor = 13107200;
    int32_t OtherFileColor = 8421504;
    bool MoveFile = true;
    std::string BackPattern;
    std::string Runtime = "C:\\";
    std::string LastFolder = "C:\\";
    bool StartInLastFolder = false;
    bool UseRelPathName = false;
    bool ProtectSystemFilesFolders = true;
    bool ConfirmDelete = true;
    bool BackUpFigure = true;
};

// The default settings file, byte for byte.
extern const char* const kDefaultIniText;

// What a damaged settings file is kept as, beside it, when start-up replaces it.
inline constexpr const char* kDamagedSuffix = ".damaged";

// [section] key through the private-profile reader: at most 49 characters, trimmed; the INI path
// itself when the key, the file or its folder is missing. Never reports.
std::string GetINIValue(AppState& app, const std::string& section, const std::string& key);
// Writes [section] key=value; errors are reported under "WriteINIValue".
void WriteINIValue(AppState& app, const std::string& section, const std::string& key,
                   const std::string& value);
// Writes [section] key=value; throws PlatformError when the file cannot be written.
void StoreINIValue(AppState& app, const std::string& section, const std::string& key,
                   const std::string& value);
// Writes a path value of [Folder] (Runtime, LastFolder) so that ReadINIPathValue reads it back,
// whatever other lines begin with the key; throws PlatformError when the file cannot be written.
void StoreINIPathValue(AppState& app, const std::string& key, const std::string& value);
// The value of the last line in the file that begins with `key` (case-sensitive), whatever its
// section, skipping the key and one character; empty when there is none or on any failure.
std::string ReadINIPathValue(AppState& app, const std::string& key);
// Replaces the settings file by the default text, keeping a non-empty old file beside it under
// kDamagedSuffix first; errors are reported under "WriteDefaultINI" and leave the file as it was.
void WriteDefaultINI(AppState& app);
// True when the path names an existing folder; false on any failure.
bool FolderExists(AppState& app, const std::string& path);

// Boolean of a stored value: the words True/False in any case, or a number (zero is false).
// Anything else answers `fallback`.
bool ToBoolean(const std::string& text, bool fallback);
// A 32-bit colour number from stored text; `fallback` when it is not a whole number in range.
int32_t ToColor(const std::string& text, int32_t fallback);

// True when a BackPattern value names a ".gif", ".jpg" or ".bmp" file (lower case), as start-up
// requires.
bool HasPatternExtension(const std::string& value);
// True when a BackPattern value written now is read back unchanged and kept at the next start:
// shorter than the reader's buffer, no blanks or quotes at its ends, and HasPatternExtension.
bool PatternSurvivesRestart(const std::string& value);

// Where the settings file lives: beside the executable when that folder is writable, else
// $XDG_CONFIG_HOME/Brindlewood. $BRINDLEWOOD_INI, when set, names it outright (a relative name
// counts from the current folder). An absolute host path.
std::string DefaultIniHostPath();

// Steps of the start-up load that fill the record: the INI path (a Windows path), the default
// file when BackColor is not numeric, then every key with its default and check.
void LoadSettings(AppState& app, const std::string& iniWindowsPath);

}  // namespace bw
