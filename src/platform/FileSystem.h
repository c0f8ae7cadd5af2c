#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/DriveMap.h"
#include "platform/WriteStep.h"

namespace bw {

// One entry of a folder listing.
struct FolderEntry {
    std::string name;
    bool isFolder = false;  // a folder, or a link to one
    bool isLink = false;    // a symbolic link (walks never descend through one)
};

struct DriveInfo {
    std::string path;  // "C:"
    DriveType type = DriveType::Unknown;
};

enum class Overwrite { No, Yes };

// The largest file ReadFile reads whole into memory. Library files run to a few MB, large scenes to
// a few tens of MB; anything bigger is refused with an error rather than exhausting memory.
inline constexpr uint64_t kMaxReadFileBytes = uint64_t{256} << 20;

// The shared file system access object. Every path it takes or gives is a Windows path
// ("C:\Poser4\Runtime"); the drive map translates. Failures throw PlatformError with the classic
// numbers. Methods are virtual so tests can inject failures at any step.
//
// Letter case: a path names the entry that exists exactly as written wherever there is one. Reads
// and existence tests match a missing component without regard to case by default (paths from
// library files and settings); whatever changes the disk takes the final name as written, so it
// never acts on an entry that differs from the chosen one only in case.
class FileSystem {
  public:
    explicit FileSystem(DriveMap map);
    virtual ~FileSystem() = default;

    const DriveMap& driveMap() const { return map_; }

    // Drives in letter order, with their types.
    virtual std::vector<DriveInfo> Drives() const;

    // Entries of a folder in file-system order, "." and ".." left out, and so are names holding a
    // "\": no Windows path could name them without naming another entry. Throws 76 when the folder
    // does not exist, 70 when it cannot be read.
    virtual std::vector<FolderEntry> ListFolder(const std::string& folder) const;

    // A folder (or a link to one) at the path; never throws.
    virtual bool FolderExists(const std::string& path, Lookup lookup = Lookup::IgnoringCase) const;
    // A non-folder entry at the path; never throws.
    virtual bool FileExists(const std::string& path, Lookup lookup = Lookup::IgnoringCase) const;

    // A whole regular file, as bytes, its name taken as written. Anything else (a pipe, a socket, a
    // device) and a file over kMaxReadFileBytes throw 75 with a description that says why.
    virtual std::string ReadFile(const std::string& path) const;
    // Up to `size` bytes of a file from `offset` into `buffer`; the count read, 0 at the end.
    // `fileSize`, when given, receives the file's size. Anything but a regular file (a pipe, a
    // device) reads as empty, so a walk never blocks on one.
    virtual size_t ReadFileAt(const std::string& path, uint64_t offset, char* buffer, size_t size,
                              uint64_t* fileSize = nullptr) const;
    // Makes `bytes` the whole content of a file, all-or-nothing: written beside it under a
    // temporary name, flushed, then renamed over it. A link at the path is replaced by the file,
    // never written through; a folder, pipe, socket or device there is refused (75), a read-only
    // file too (70). `sync` also flushes the folder's entry before returning.
    virtual void WriteFile(const std::string& path, const std::string& bytes, bool sync = false);

    // Renames or moves within one file system, both paths taken as written; throws 58 when the
    // target exists (unless it is the item itself under another letter case), 74 across drives.
    virtual void Rename(const std::string& from, const std::string& to);
    // Atomic replacement of `to` by `from` (the target may exist; a link there is replaced as an
    // entry, not followed).
    virtual void Replace(const std::string& from, const std::string& to);
    // Deletes the non-folder entry at exactly this path.
    virtual void DeleteFile(const std::string& path);
    // Deletes the folder at exactly this path with everything in it; links are not followed.
    virtual void DeleteFolder(const std::string& path);
    // Copies are all-or-nothing like WriteFile and never follow a link at the target. A file copy
    // follows a link at the source; a folder copy copies links as links, is checked whole before
    // anything is written, and is refused (75, naming the entry) when it holds a pipe, socket or
    // device; an existing target folder is merged into, a new one appears whole or not at all.
    virtual void CopyFile(const std::string& from, const std::string& to, Overwrite overwrite);
    virtual void CopyFolder(const std::string& from, const std::string& to, Overwrite overwrite);
    // Hard link, or copy where links are not possible.
    virtual void LinkOrCopyFile(const std::string& from, const std::string& to);

    // Read-only attribute: no write permission for the owner.
    virtual bool IsReadOnly(const std::string& path) const;
    virtual void SetReadOnly(const std::string& path, bool readOnly);

    // Host path of a Windows path; throws 76 for an unknown drive. Unless the lookup ignores case
    // throughout, a folder on the way that exists in several letter cases and in none exactly
    // throws 75: a path that is to change something must name one entry.
    std::string HostPath(const std::string& windowsPath,
                         Lookup lookup = Lookup::FoldersIgnoringCase) const;
    std::string WindowsPath(const std::string& hostPath) const { return map_.ToWindows(hostPath); }

  protected:
    // Called at every step of an all-or-nothing write; tests fail a write there by throwing.
    virtual void AtWriteStep(WriteStep) const {}

  private:
    WriteStepHook StepHook() const;
    // Runs a write, turning a refused entry's host path into the Windows path the user knows.
    void NamingRefusals(const std::function<void()>& work) const;

    DriveMap map_;
};

}  // namespace bw
