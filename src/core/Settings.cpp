#include "core/Settings.h"

#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "core/AppState.h"
#include "core/ReportError.h"
#include "platform/PlatformError.h"
#include "platform/Profile.h"
#include "platform/Text.h"

namespace bw {

const char* const kDefaultIniText =
    "[Colors]\r\n"
    "BackColor=15136253\r\n"
    "ShadowColor=16744576\r\n"
    "TextColor=0\r\n"
    "ButtonColor=-2147483633\r\n"
    "PoserFileColor=64\r\n"
    "ImageFileColor=16384\r\n"
    "SystemFileColor=13107200\r\n"
    "OtherFileColor=8421504\r\n"
    "[Folder]\r\n"
    "Runtime=C:\\\r\n"
    "LastFolder=C:\\\r\n"
    "[AVSettings]\r\n"
    "MoveFile=True\r\n";

std::string GetINIValue(AppState& app, const std::string& section, const std::string& key) {
    std::string host;
    try {
        host = app.fs->HostPath(app.settings.iniPath);
    } catch (const PlatformError&) {
        // A folder or drive that is gone holds no file: every key reads as missing, as the
        // classic reader answers for a missing file, rather than one box per key.
        return GetPrivateProfileString(section, key, app.settings.iniPath, "");
    }
    return GetPrivateProfileString(section, key, app.settings.iniPath, host);
}

void StoreINIValue(AppState& app, const std::string& section, const std::string& key,
                   const std::string& value) {
    WritePrivateProfileString(section, key, value, app.fs->HostPath(app.settings.iniPath));
}

void StoreINIPathValue(AppState& app, const std::string& key, const std::string& value) {
    WritePrivateProfilePath("Folder", key, value, app.fs->HostPath(app.settings.iniPath));
}

void WriteINIValue(AppState& app, const std::string& section, const std::string& key,
                   const std::string& value) {
    try {
        StoreINIValue(app, section, key, value);
    } catch (const PlatformError& e) {
        ReportError(app.desktop, e, "WriteINIValue");
    }
}

std::string ReadINIPathValue(AppState& app, const std::string& key) {
    try {
        const auto bytes = ReadProfileFile(app.fs->HostPath(app.settings.iniPath));
        if (!bytes) return {};
        std::string result;
        for (std::string_view line : SplitLines(*bytes)) {
            if (StartsWith(line, key))
                result = std::string(line.size() > key.size() ? line.substr(key.size() + 1) : "");
        }
        return result;
    } catch (const PlatformError&) {
        return {};
    }
}

void WriteDefaultINI(AppState& app) {
    try {
        const std::string host = app.fs->HostPath(app.settings.iniPath);
        // What the damaged file still holds (Runtime, LastFolder, the switches) is kept beside
        // it; if even that copy cannot be made, the file is left as it is.
        if (const auto old = ReadProfileFile(host); old && !old->empty())
            WriteProfileFile(host + kDamagedSuffix, *old);
        WriteProfileFile(host, kDefaultIniText);
    } catch (const PlatformError& e) {
        ReportError(app.desktop, e, "WriteDefaultINI");
    }
}

bool FolderExists(AppState& app, const std::string& path) {
    try {
        return app.fs->FolderExists(path);
    } catch (...) {
        return false;
    }
}

bool ToBoolean(const std::string& text, bool fallback) {
    std::string t = TrimSpaces(text);
    if (AsciiEqualsIgnoreCase(t, "true")) return true;
    if (AsciiEqualsIgnoreCase(t, "false")) return false;
    if (IsNumeric(t)) return std::strtod(t.c_str(), nullptr) != 0.0;
    return fallback;
}

int32_t ToColor(const std::string& text, int32_t fallback) {
    if (!IsNumeric(text)) return fallback;
    double v = std::round(std::strtod(TrimSpaces(text).c_str(), nullptr));
    if (v < -2147483648.0 || v > 2147483647.0) return fallback;
    return static_cast<int32_t>(v);
}

std::string DefaultIniHostPath() {
    std::error_code ec;
    if (const char* explicitPath = std::getenv("BRINDLEWOOD_INI"); explicitPath && *explicitPath) {
        // A relative name would have no Windows path of its own; it counts from where we start.
        auto absolute = std::filesystem::absolute(explicitPath, ec);
        return ec ? std::string(explicitPath) : absolute.lexically_normal().string();
    }
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (!ec) {
        auto dir = exe.parent_path();
        if (::access(dir.c_str(), W_OK) == 0) return (dir / "Brindlewood.ini").string();
    }
    std::string config;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg) {
        config = xdg;
    } else if (const char* home = std::getenv("HOME"); home && *home) {
        config = std::string(home) + "/.config";
    } else {
        config = "/tmp";
    }
    std::filesystem::create_directories(config + "/Brindlewood", ec);
    return config + "/Brindlewood/Brindlewood.ini";
}

bool HasPatternExtension(const std::string& value) {
    return value.find(".gif") != std::string::npos || value.find(".jpg") != std::string::npos ||
           value.find(".bmp") != std::string::npos;
}

bool PatternSurvivesRestart(const std::string& value) {
    // The reader cuts to its buffer, trims blanks and drops enclosing quotes.
    constexpr std::string_view kLostAtEnds = " \t\"'";
    if (value.size() >= kProfileBufferSize) return false;
    if (!value.empty() && (kLostAtEnds.find(value.front()) != std::string_view::npos ||
                           kLostAtEnds.find(value.back()) != std::string_view::npos))
        return false;
    return HasPatternExtension(value);
}

namespace {

// A [Folder] Boolean key counts as present when its value holds no "\" from the second character
// on; a missing key answers the INI path, which always does.
bool KeyPresent(const std::string& value) { return value.find('\\', 1) == std::string::npos; }

bool FolderBoolean(AppState& app, const std::string& key, bool absent) {
    std::string v = GetINIValue(app, "Folder", key);
    if (!KeyPresent(v)) return absent;
    // A value that is no Boolean word or number keeps the default.
    return ToBoolean(v, absent);
}

}  // namespace

void LoadSettings(AppState& app, const std::string& iniWindowsPath) {
    Settings& s = app.settings;
    s.iniPath = iniWindowsPath;

    if (!IsNumeric(GetINIValue(app, "Colors", "BackColor"))) WriteDefaultINI(app);

    const Settings defaults;
    s.BackColor = ToColor(GetINIValue(app, "Colors", "BackColor"), defaults.BackColor);
    s.ShadowColor = ToColor(GetINIValue(app, "Colors", "ShadowColor"), defaults.ShadowColor);
    s.TextColor = ToColor(GetINIValue(app, "Colors", "TextColor"), defaults.TextColor);
    s.ButtonColor = ToColor(GetINIValue(app, "Colors", "ButtonColor"), defaults.ButtonColor);
    s.PoserFileColor =
        ToColor(GetINIValue(app, "Colors", "PoserFileColor"), defaults.PoserFileColor);
    s.ImageFileColor =
        ToColor(GetINIValue(app, "Colors", "ImageFileColor"), defaults.ImageFileColor);
    s.SystemFileColor =
        ToColor(GetINIValue(app, "Colors", "SystemFileColor"), defaults.SystemFileColor);
    s.OtherFileColor =
        ToColor(GetINIValue(app, "Colors", "OtherFileColor"), defaults.OtherFileColor);

    {
        std::string v = GetINIValue(app, "AVSettings", "MoveFile");
        s.MoveFile = KeyPresent(v) ? ToBoolean(v, true) : true;
    }

    s.BackPattern = GetINIValue(app, "AVSettings", "BackPattern");
    if (!HasPatternExtension(s.BackPattern)) s.BackPattern.clear();

    s.Runtime = ReadINIPathValue(app, "Runtime");
    if (s.Runtime.empty()) s.Runtime = "C:\\";
    if (!FolderExists(app, s.Runtime) || !ContainsIgnoreCase(s.Runtime, "Runtime"))
        s.Runtime = "C:\\";

    std::string start = GetINIValue(app, "Folder", "StartInLastFolder");
    if (KeyPresent(start)) {
        s.StartInLastFolder = ToBoolean(start, false);
        s.LastFolder = ReadINIPathValue(app, "LastFolder");
        if (s.LastFolder.empty()) s.LastFolder = "C:\\";
    } else {
        s.LastFolder = "C:\\";
        s.StartInLastFolder = false;
    }

    s.UseRelPathName = FolderBoolean(app, "UseRelPathName", false);
    s.ProtectSystemFilesFolders = FolderBoolean(app, "ProtectSystemFilesFolders", true);
    s.ConfirmDelete = FolderBoolean(app, "ConfirmDelete", true);
    s.BackUpFigure = FolderBoolean(app, "BackUpFigure", true);
}

}  // namespace bw
