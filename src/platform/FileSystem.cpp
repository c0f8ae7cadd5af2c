#include "platform/FileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>

#include "platform/Fd.h"
#include "platform/HostCopy.h"
#include "platform/PlatformError.h"
#include "platform/StagedEntry.h"
#include "platform/Text.h"

namespace bw {

namespace {

PlatformError TooLarge() {
    return PlatformError(err::kPathFileAccess,
                         DescriptionOf(err::kPathFileAccess) + ": the file is larger than " +
                             std::to_string(kMaxReadFileBytes >> 20) + " MB, too large to read");
}

// Only regular files are read whole: a pipe or a device may never end, and a huge file would not
// fit in memory.
void RefuseUnreadable(const struct stat& st) {
    if (S_ISDIR(st.st_mode)) throw PlatformError::FromNumber(err::kPathFileAccess);
    if (!S_ISREG(st.st_mode))
        throw PlatformError(err::kPathFileAccess, DescriptionOf(err::kPathFileAccess) +
                                                      ": not a file but a pipe, socket or device");
    if (static_cast<uint64_t>(st.st_size) > kMaxReadFileBytes) throw TooLarge();
}

bool LstatIs(const std::string& host, bool wantDir) {
    struct stat st {};
    if (::stat(host.c_str(), &st) != 0) return false;
    return S_ISDIR(st.st_mode) == wantDir;
}

void DeleteHostTree(const std::string& host) {
    struct stat st {};
    if (::lstat(host.c_str(), &st) != 0) ThrowForHostPath(errno, host);
    if (S_ISDIR(st.st_mode)) {
        DIR* dir = ::opendir(host.c_str());
        if (!dir) throw PlatformError::FromErrno(errno);
        std::vector<std::string> names;
        while (dirent* e = ::readdir(dir)) {
            std::string n = e->d_name;
            if (n != "." && n != "..") names.push_back(n);
        }
        ::closedir(dir);
        for (const auto& n : names) DeleteHostTree(host + "/" + n);
        if (::rmdir(host.c_str()) != 0) throw PlatformError::FromErrno(errno);
    } else if (::unlink(host.c_str()) != 0) {
        throw PlatformError::FromErrno(errno);
    }
}

}  // namespace

FileSystem::FileSystem(DriveMap map) : map_(std::move(map)) {}

std::string FileSystem::HostPath(const std::string& windowsPath, Lookup lookup) const {
    auto found = map_.Resolve(windowsPath, lookup);
    if (!found) throw PlatformError::FromNumber(err::kPathNotFound);
    if (found->ambiguous && lookup != Lookup::IgnoringCase)
        throw PlatformError(err::kPathFileAccess, DescriptionOf(err::kPathFileAccess) +
                                                      ": more than one entry matches '" +
                                                      windowsPath + "' apart from letter case");
    return std::move(found->path);
}

std::vector<DriveInfo> FileSystem::Drives() const {
    std::vector<DriveInfo> out;
    for (const auto& d : map_.drives()) out.push_back({d.letter, map_.TypeOf(d)});
    return out;
}

std::vector<FolderEntry> FileSystem::ListFolder(const std::string& folder) const {
    const std::string host = HostPath(folder, Lookup::IgnoringCase);
    DIR* dir = ::opendir(host.c_str());
    if (!dir) {
        int e = errno;
        if (e == ENOENT || e == ENOTDIR) throw PlatformError::FromNumber(err::kPathNotFound);
        throw PlatformError::FromErrno(e);
    }
    std::vector<FolderEntry> out;
    const int dfd = ::dirfd(dir);
    errno = 0;
    while (dirent* e = ::readdir(dir)) {
        const char* n = e->d_name;
        if (!IsWindowsName(n)) continue;
        FolderEntry entry;
        entry.name = n;
        unsigned char type = e->d_type;
        if (type == DT_UNKNOWN) {
            struct stat st {};
            if (::fstatat(dfd, n, &st, AT_SYMLINK_NOFOLLOW) == 0)
                type = S_ISDIR(st.st_mode) ? DT_DIR : S_ISLNK(st.st_mode) ? DT_LNK : DT_REG;
        }
        if (type == DT_DIR) {
            entry.isFolder = true;
        } else if (type == DT_LNK) {
            entry.isLink = true;
            struct stat st {};
            entry.isFolder = ::fstatat(dfd, n, &st, 0) == 0 && S_ISDIR(st.st_mode);
        }
        out.push_back(std::move(entry));
        errno = 0;
    }
    int readErr = errno;
    ::closedir(dir);
    if (readErr != 0) throw PlatformError::FromErrno(readErr);
    return out;
}

bool FileSystem::FolderExists(const std::string& path, Lookup lookup) const {
    auto host = map_.ToHost(path, lookup);
    return host && LstatIs(*host, true);
}

bool FileSystem::FileExists(const std::string& path, Lookup lookup) const {
    auto host = map_.ToHost(path, lookup);
    if (!host) return false;
    struct stat st {};
    return ::lstat(host->c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

std::string FileSystem::ReadFile(const std::string& path) const {
    const std::string host = HostPath(path);
    // Asked before opening, as opening a device can itself act on it; the open does not block, for
    // an entry swapped for a pipe meanwhile, and the opened file is asked again.
    struct stat st {};
    if (::stat(host.c_str(), &st) != 0) ThrowForHostPath(errno, host);
    RefuseUnreadable(st);
    Fd fd(::open(host.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (fd.get() < 0) ThrowForHostPath(errno, host);
    if (::fstat(fd.get(), &st) != 0) throw PlatformError::FromErrno(errno);
    RefuseUnreadable(st);
    std::string bytes;
    bytes.reserve(static_cast<size_t>(st.st_size));
    alignas(64) char buf[1 << 16];  // the kernel copies faster to an aligned destination
    while (true) {
        ssize_t n = ::read(fd.get(), buf, sizeof buf);
        if (n < 0) {
            if (errno == EINTR) continue;
            throw PlatformError::FromErrno(errno);
        }
        if (n == 0) break;
        bytes.append(buf, static_cast<size_t>(n));
        if (bytes.size() > kMaxReadFileBytes) throw TooLarge();  // grown since it was opened
    }
    return bytes;
}

size_t FileSystem::ReadFileAt(const std::string& path, uint64_t offset, char* buffer, size_t size,
                              uint64_t* fileSize) const {
    // Scans read every file of a library: try the path as written before asking the disk about
    // letter case, which costs a lookup per file.
    std::string host = map_.ToHost(path, Lookup::AsWritten).value_or(std::string());
    // Non-blocking open: a pipe without a writer must not hang the caller; it is skipped below.
    int raw = host.empty() ? -1 : ::open(host.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (raw < 0) {
        host = HostPath(path, Lookup::IgnoringCase);
        raw = ::open(host.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    }
    Fd fd(raw);
    if (fd.get() < 0) ThrowForHostPath(errno, host);
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0) throw PlatformError::FromErrno(errno);
    if (S_ISDIR(st.st_mode)) throw PlatformError::FromNumber(err::kPathFileAccess);
    if (fileSize) *fileSize = S_ISREG(st.st_mode) ? static_cast<uint64_t>(st.st_size) : 0;
    if (!S_ISREG(st.st_mode)) return 0;
    // Read no further than the end the file had when opened, saving a read that answers nothing.
    const uint64_t left = offset < static_cast<uint64_t>(st.st_size) ? st.st_size - offset : 0;
    size = static_cast<size_t>(std::min<uint64_t>(size, left));
    size_t done = 0;
    while (done < size) {
        ssize_t n =
            ::pread(fd.get(), buffer + done, size - done, static_cast<off_t>(offset + done));
        if (n < 0) {
            if (errno == EINTR) continue;
            throw PlatformError::FromErrno(errno);
        }
        if (n == 0) break;
        done += static_cast<size_t>(n);
    }
    return done;
}

void FileSystem::WriteFile(const std::string& path, const std::string& bytes, bool sync) {
    const std::string host = HostPath(path);
    NamingRefusals([&] { WriteHostFile(host, bytes, sync, StepHook()); });
}

void FileSystem::Rename(const std::string& from, const std::string& to) {
    const std::string hf = HostPath(from, Lookup::AsWritten), ht = HostPath(to, Lookup::AsWritten);
    struct stat st {};
    if (::lstat(hf.c_str(), &st) != 0) ThrowForHostPath(errno, hf);
    struct stat tt {};
    if (::lstat(ht.c_str(), &tt) == 0) {
        // On a mount that ignores case, a new spelling of the item's own name finds the item.
        const bool itself =
            tt.st_ino == st.st_ino && tt.st_dev == st.st_dev && AsciiEqualsIgnoreCase(hf, ht);
        if (!itself) throw PlatformError::FromNumber(err::kFileAlreadyExists);
        if (hf != ht && ::rename(hf.c_str(), ht.c_str()) != 0) ThrowForHostPath(errno, ht);
        return;
    }
    if (::renameat2(AT_FDCWD, hf.c_str(), AT_FDCWD, ht.c_str(), RENAME_NOREPLACE) != 0) {
        int e = errno;
        if (e == EINVAL || e == ENOSYS) {
            if (::rename(hf.c_str(), ht.c_str()) != 0) ThrowForHostPath(errno, ht);
            return;
        }
        ThrowForHostPath(e, ht);
    }
}

void FileSystem::Replace(const std::string& from, const std::string& to) {
    const std::string hf = HostPath(from), ht = HostPath(to);
    if (::rename(hf.c_str(), ht.c_str()) != 0) ThrowForHostPath(errno, ht);
}

void FileSystem::DeleteFile(const std::string& path) {
    const std::string host = HostPath(path, Lookup::AsWritten);
    struct stat st {};
    if (::lstat(host.c_str(), &st) != 0) ThrowForHostPath(errno, host);
    if (S_ISDIR(st.st_mode)) throw PlatformError::FromNumber(err::kPathFileAccess);
    if (::unlink(host.c_str()) != 0) throw PlatformError::FromErrno(errno);
}

void FileSystem::DeleteFolder(const std::string& path) {
    const std::string host = HostPath(path, Lookup::AsWritten);
    if (!LstatIs(host, true)) throw PlatformError::FromNumber(err::kPathNotFound);
    DeleteHostTree(host);
}

void FileSystem::CopyFile(const std::string& from, const std::string& to, Overwrite overwrite) {
    const std::string hf = HostPath(from), ht = HostPath(to);
    NamingRefusals([&] { CopyHostFile(hf, ht, overwrite == Overwrite::Yes, StepHook()); });
}

void FileSystem::CopyFolder(const std::string& from, const std::string& to, Overwrite overwrite) {
    const std::string hf = HostPath(from), ht = HostPath(to);
    if (!LstatIs(hf, true)) throw PlatformError::FromNumber(err::kPathNotFound);
    NamingRefusals([&] { CopyHostTree(hf, ht, overwrite == Overwrite::Yes, StepHook()); });
}

void FileSystem::LinkOrCopyFile(const std::string& from, const std::string& to) {
    const std::string hf = HostPath(from), ht = HostPath(to);
    if (::link(hf.c_str(), ht.c_str()) == 0) return;
    int e = errno;
    if (e == EEXIST) throw PlatformError::FromNumber(err::kFileAlreadyExists);
    if (e == ENOENT) ThrowForHostPath(e, hf);
    NamingRefusals([&] { CopyHostFile(hf, ht, false, StepHook()); });
}

WriteStepHook FileSystem::StepHook() const {
    return [this](WriteStep step) { AtWriteStep(step); };
}

void FileSystem::NamingRefusals(const std::function<void()>& work) const {
    try {
        work();
    } catch (const RefusedEntry& e) {
        throw PlatformError(err::kPathFileAccess,
                            DescriptionOf(err::kPathFileAccess) + ": " + WindowsPath(e.hostPath()));
    }
}

bool FileSystem::IsReadOnly(const std::string& path) const {
    const std::string host = HostPath(path);
    struct stat st {};
    if (::stat(host.c_str(), &st) != 0) ThrowForHostPath(errno, host);
    return (st.st_mode & S_IWUSR) == 0;
}

void FileSystem::SetReadOnly(const std::string& path, bool readOnly) {
    const std::string host = HostPath(path);
    struct stat st {};
    if (::stat(host.c_str(), &st) != 0) ThrowForHostPath(errno, host);
    mode_t mode = readOnly ? (st.st_mode & ~(S_IWUSR | S_IWGRP | S_IWOTH)) : (st.st_mode | S_IWUSR);
    if (::chmod(host.c_str(), mode & 07777) != 0) throw PlatformError::FromErrno(errno);
}

}  // namespace bw
