#include "platform/DriveMap.h"

#include <dirent.h>
#include <limits.h>
#include <mntent.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "platform/Text.h"

namespace bw {

namespace {

std::string Normalise(std::string root) {
    while (root.size() > 1 && root.back() == '/') root.pop_back();
    return root.empty() ? "/" : root;
}

bool IsDir(const std::string& p) {
    struct stat st {};
    return ::stat(p.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool Exists(const std::string& p) {
    struct stat st {};
    return ::lstat(p.c_str(), &st) == 0;
}

std::string Join(const std::string& base, const std::string& name) {
    if (base.empty() || base.back() == '/') return base + name;
    return base + "/" + name;
}

void SortAndEnsureZ(std::vector<Drive>& drives) {
    bool hasZ =
        std::any_of(drives.begin(), drives.end(), [](const Drive& d) { return d.letter == "Z:"; });
    if (!hasZ) drives.push_back({"Z:", "/"});
    std::sort(drives.begin(), drives.end(),
              [](const Drive& a, const Drive& b) { return a.letter < b.letter; });
}

}  // namespace

DriveMap DriveMap::FromEnvironment() {
    if (const char* prefix = std::getenv("WINEPREFIX"); prefix && *prefix)
        return FromPrefix(prefix);
    if (const char* home = std::getenv("HOME"); home && *home)
        return FromPrefix(std::string(home) + "/.wine");
    return FromDrives({});
}

DriveMap DriveMap::FromPrefix(const std::string& prefix) {
    std::vector<Drive> drives;
    const std::string dosdevices = Join(prefix, "dosdevices");
    if (DIR* dir = ::opendir(dosdevices.c_str())) {
        while (dirent* e = ::readdir(dir)) {
            std::string name = e->d_name;
            // Drive links are "c:"; "c::" entries are raw devices, not drives.
            if (name.size() != 2 || name[1] != ':' ||
                !std::isalpha(static_cast<unsigned char>(name[0])))
                continue;
            std::string link = Join(dosdevices, name);
            char resolved[PATH_MAX];
            if (!::realpath(link.c_str(), resolved) || !IsDir(resolved)) continue;
            drives.push_back({std::string(1, static_cast<char>(std::toupper(name[0]))) + ":",
                              Normalise(resolved)});
        }
        ::closedir(dir);
    }
    return FromDrives(std::move(drives));
}

DriveMap DriveMap::FromDrives(std::vector<Drive> drives) {
    for (auto& d : drives) {
        d.letter = AsciiUpper(d.letter);
        d.root = Normalise(d.root);
    }
    SortAndEnsureZ(drives);
    DriveMap map;
    map.drives_ = std::move(drives);
    return map;
}

bool IsWindowsName(std::string_view name) {
    return name != "." && name != ".." && name.find('\\') == std::string_view::npos;
}

// The names a Windows path walks through, as Windows reads them: empty and "." components name
// nothing, and ".." steps back one name, never above the drive's root.
std::vector<std::string> NamesOf(const std::vector<std::string>& components) {
    std::vector<std::string> names;
    for (const auto& comp : components) {
        if (comp.empty() || comp == ".") continue;
        if (comp != "..")
            names.push_back(comp);
        else if (!names.empty())
            names.pop_back();
    }
    return names;
}

HostLookup ResolveComponents(const std::string& base, const std::vector<std::string>& components,
                             Lookup lookup) {
    const std::vector<std::string> names = NamesOf(components);
    // The common case, a path that exists as written, costs one lookup instead of one per
    // component.
    std::string exactPath = base;
    for (const auto& name : names) exactPath = Join(exactPath, name);
    if (lookup == Lookup::AsWritten || Exists(exactPath)) return {exactPath, false};

    HostLookup out{base, false};
    bool resolving = true;
    for (size_t i = 0; i < names.size(); ++i) {
        const auto& comp = names[i];
        std::string exact = Join(out.path, comp);
        const bool asWritten = i + 1 == names.size() && lookup == Lookup::FoldersIgnoringCase;
        if (!resolving || asWritten || Exists(exact)) {
            out.path = std::move(exact);
            continue;
        }
        // Names that differ only in case are different entries here: take the first in byte
        // order, so that the answer does not depend on the order the folder lists them in, and
        // say that there was a choice.
        std::string match;
        int matches = 0;
        if (DIR* dir = ::opendir(out.path.c_str())) {
            while (dirent* e = ::readdir(dir)) {
                if (!AsciiEqualsIgnoreCase(e->d_name, comp)) continue;
                if (matches++ == 0 || e->d_name < match) match = e->d_name;
            }
            ::closedir(dir);
        }
        out.ambiguous = out.ambiguous || matches > 1;
        if (matches == 0) {
            // Nothing of that name: later components cannot exist either.
            resolving = false;
            out.path = std::move(exact);
        } else {
            out.path = Join(out.path, match);
        }
    }
    return out;
}

std::optional<HostLookup> DriveMap::Resolve(const std::string& windowsPath, Lookup lookup) const {
    if (windowsPath.size() < 2 || windowsPath[1] != ':') return std::nullopt;
    const std::string letter = AsciiUpper(windowsPath.substr(0, 2));
    auto it = std::find_if(drives_.begin(), drives_.end(),
                           [&](const Drive& d) { return d.letter == letter; });
    if (it == drives_.end()) return std::nullopt;
    // Windows takes "/" for a separator too; left in a name, it would split the name on the host.
    std::string rest = windowsPath.substr(2);
    std::replace(rest.begin(), rest.end(), '/', '\\');
    return ResolveComponents(it->root, Split(rest, '\\'), lookup);
}

std::optional<std::string> DriveMap::ToHost(const std::string& windowsPath, Lookup lookup) const {
    auto found = Resolve(windowsPath, lookup);
    if (!found) return std::nullopt;
    return std::move(found->path);
}

const Drive* DriveMap::DriveOf(const std::string& hostPath) const {
    const Drive* best = nullptr;
    for (const auto& d : drives_) {
        bool matches = d.root == "/" ? (!hostPath.empty() && hostPath[0] == '/')
                                     : (hostPath == d.root || hostPath.rfind(d.root + "/", 0) == 0);
        if (matches && (!best || d.root.size() > best->root.size())) best = &d;
    }
    return best;
}

bool DriveMap::CanNameHostPath(const std::string& hostPath) const {
    const Drive* drive = DriveOf(hostPath);
    if (!drive) return false;
    for (const auto& name : Split(std::string_view(hostPath).substr(drive->root.size()), '/'))
        if (!name.empty() && !IsWindowsName(name)) return false;
    return true;
}

std::string DriveMap::ToWindows(const std::string& hostPath) const {
    const Drive* best = DriveOf(hostPath);
    if (!best) return hostPath;
    std::string rest = best->root == "/"
                           ? hostPath.substr(1)
                           : hostPath.substr(std::min(hostPath.size(), best->root.size() + 1));
    while (!rest.empty() && rest.back() == '/') rest.pop_back();
    std::replace(rest.begin(), rest.end(), '/', '\\');
    return rest.empty() ? best->letter + "\\" : best->letter + "\\" + rest;
}

DriveType DriveMap::TypeOf(const Drive& drive) const {
    // The mount with the longest mount point that holds the root decides.
    FILE* mounts = ::setmntent("/proc/self/mounts", "r");
    if (!mounts) return DriveType::Unknown;
    std::string bestDir, bestType, bestFs;
    while (mntent* m = ::getmntent(mounts)) {
        std::string dir = m->mnt_dir;
        bool holds = dir == "/" || drive.root == dir || drive.root.rfind(dir + "/", 0) == 0;
        if (holds && dir.size() >= bestDir.size()) {
            bestDir = dir;
            bestType = m->mnt_type;
            bestFs = m->mnt_fsname;
        }
    }
    ::endmntent(mounts);
    if (bestType.empty()) return DriveType::Unknown;
    if (bestType == "tmpfs" || bestType == "ramfs") return DriveType::RamDisk;
    if (bestType == "iso9660" || bestType == "udf") return DriveType::CdRom;
    if (bestType == "nfs" || bestType == "nfs4" || bestType == "cifs" || bestType == "smb3" ||
        bestType == "smbfs" || bestType == "sshfs" || bestType.rfind("fuse.sshfs", 0) == 0)
        return DriveType::Network;
    if (bestType == "vfat" || bestType == "exfat") {
        // FAT file systems mounted below /media or /run/media are removable sticks and cards.
        if (bestDir.rfind("/media/", 0) == 0 || bestDir.rfind("/run/media/", 0) == 0)
            return DriveType::Removable;
    }
    return DriveType::Fixed;
}

}  // namespace bw
