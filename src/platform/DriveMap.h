#pragma once

#include <optional>
#include <string>
#include <vector>

namespace bw {

enum class DriveType { Unknown = 0, Removable = 1, Fixed = 2, Network = 3, CdRom = 4, RamDisk = 5 };

struct Drive {
    std::string letter;  // "C:" (upper case, with the colon)
    std::string root;    // host folder the drive's root maps to, without a trailing '/' except "/"
};

// Translates between the Windows paths the program thinks in and host paths, through the drives of
// a Wine prefix. There is always a Z: drive rooted at "/", so every host path has a Windows path.
class DriveMap {
  public:
    // Drives of $WINEPREFIX, else ~/.wine; just Z: when there is no prefix.
    static DriveMap FromEnvironment();
    // Drives of the `dosdevices` folder of a prefix (missing prefix: just Z:).
    static DriveMap FromPrefix(const std::string& prefix);
    // An explicit drive list; Z: -> "/" is added when absent.
    static DriveMap FromDrives(std::vector<Drive> drives);

    // Drives in letter order.
    const std::vector<Drive>& drives() const { return drives_; }

    // Host path of a Windows path ("C:\a\b" or "C:"), resolving each component case-insensitively
    // when it does not exist with the exact case. Components that exist in no case are kept as
    // written. No value when the drive is unknown or the path is not a drive path.
    std::optional<std::string> ToHost(const std::string& windowsPath) const;
    // The host path of a Windows path as written, without asking the disk about letter case.
    std::optional<std::string> ToHostAsWritten(const std::string& windowsPath) const;

    // Windows path of an absolute host path; the drive with the longest matching root wins.
    std::string ToWindows(const std::string& hostPath) const;

    // The drive type from the mount the drive's root lies on.
    DriveType TypeOf(const Drive& drive) const;

  private:
    std::vector<Drive> drives_;
};

// Case-insensitive resolution of one path below an existing host folder; exposed for tests.
std::string ResolveCaseInsensitive(const std::string& base,
                                   const std::vector<std::string>& components);

}  // namespace bw
