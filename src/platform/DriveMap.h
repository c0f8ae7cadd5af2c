#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace bw {

enum class DriveType { Unknown = 0, Removable = 1, Fixed = 2, Network = 3, CdRom = 4, RamDisk = 5 };

// How a Windows path finds its host entry. Paths of the tree's own nodes name entries that were
// listed, so they are taken as written; case-insensitive matching is only for paths read from
// library files, settings or typing.
enum class Lookup {
    AsWritten,            // every component exactly as written
    FoldersIgnoringCase,  // folders on the way may match in any case; the final name as written
    IgnoringCase,         // every component may match in any case
};

// A host path found for a Windows path. `ambiguous`: some component existed in no exact case but
// in several that differ only in letter case (the first of them in byte order was taken).
struct HostLookup {
    std::string path;
    bool ambiguous = false;
};

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

    // Host path of a Windows path ("C:\a\b" or "C:"), read as Windows reads it: "/" separates
    // too, "." names nothing and ".." steps back a name, never above the drive's root. A name that
    // exists exactly is always taken as it is; where the lookup allows, one that does not is
    // matched against the folder's entries without regard to case, and one that exists in no case
    // is kept as written. No value when the drive is unknown or the path is not a drive path.
    std::optional<HostLookup> Resolve(const std::string& windowsPath,
                                      Lookup lookup = Lookup::IgnoringCase) const;
    // Resolve's path alone.
    std::optional<std::string> ToHost(const std::string& windowsPath,
                                      Lookup lookup = Lookup::IgnoringCase) const;

    // Windows path of an absolute host path; the drive with the longest matching root wins. A name
    // holding a "\", and a "." or ".." the host reads otherwise, are not carried: see
    // CanNameHostPath.
    std::string ToWindows(const std::string& hostPath) const;
    // Every name in the host path below its drive's root is one a Windows path can carry
    // (IsWindowsName), so its Windows path names it and only it.
    bool CanNameHostPath(const std::string& hostPath) const;

    // The drive type from the mount the drive's root lies on.
    DriveType TypeOf(const Drive& drive) const;

  private:
    // The drive whose root holds the host path, the longest root winning; null when none does.
    const Drive* DriveOf(const std::string& hostPath) const;

    std::vector<Drive> drives_;
};

// A name a Windows path can carry as one component: it holds no "\" and is not "." or "..".
bool IsWindowsName(std::string_view name);

// Resolution of one path below an existing host folder, as Resolve does it; exposed for tests.
HostLookup ResolveComponents(const std::string& base, const std::vector<std::string>& components,
                             Lookup lookup);

}  // namespace bw
