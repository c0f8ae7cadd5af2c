#pragma once

#include <sys/types.h>

#include <string>

#include "platform/PlatformError.h"
#include "platform/WriteStep.h"

namespace bw {

// An entry that a write or copy will not read or replace: a pipe, socket or device, a folder where
// a file should go or the other way round. Error 75, its description naming the host path.
class RefusedEntry : public PlatformError {
  public:
    explicit RefusedEntry(std::string hostPath);
    const std::string& hostPath() const { return hostPath_; }

  private:
    std::string hostPath_;
};

// Throws for a failed call on a host path: 76 when the folder that should hold it is missing too,
// else the number for the errno.
[[noreturn]] void ThrowForHostPath(int errnoValue, const std::string& hostPath);

// Whether a file is flushed to the disk when it is closed, or later by the caller for many at once.
enum class Flush { Now, Later };

// A new entry made under a temporary name beside its target and renamed onto the target only when
// complete, so the target is either as it was or wholly new. Committing replaces the target's
// folder entry: nothing is ever written through a link or into a file that exists. An entry not
// committed is removed (a folder with everything in it) when the object goes.
class StagedEntry {
  public:
    // An empty file open for writing, with these permission bits less the umask.
    static StagedEntry File(const std::string& target, mode_t mode, WriteStepHook hook);
    // A symbolic link holding `linkText`.
    static StagedEntry Link(const std::string& target, const std::string& linkText,
                            WriteStepHook hook);
    // An empty folder, open only to its owner until it is committed with `mode`.
    static StagedEntry Folder(const std::string& target, mode_t mode, WriteStepHook hook);

    StagedEntry(StagedEntry&& other) noexcept;
    StagedEntry& operator=(StagedEntry&&) = delete;
    StagedEntry(const StagedEntry&) = delete;
    StagedEntry& operator=(const StagedEntry&) = delete;
    ~StagedEntry();

    const std::string& tempPath() const { return temp_; }

    // File only: appends bytes.
    void Write(const char* data, size_t size);
    // File only: appends everything `fd` reads until its end.
    void CopyFrom(int fd);
    // File only: sets the permission bits exactly, the umask aside.
    void SetMode(mode_t mode);
    // File only: closes it, flushed to the disk first with Flush::Now.
    void Close(Flush flush);

    // Renames onto the target, replacing whatever entry has that name (a folder excepted).
    void Replace();
    // Renames onto the target, which must not exist: 58 otherwise.
    void Place();

  private:
    enum class Kind { File, Link, Folder };
    StagedEntry(Kind kind, std::string target, WriteStepHook hook);
    void Step(WriteStep step) const;
    void Create(const std::string& linkText, mode_t mode);

    Kind kind_;
    std::string target_, temp_;
    WriteStepHook hook_;
    int fd_ = -1;
    mode_t folderMode_ = 0;
    bool committed_ = false;
};

}  // namespace bw
