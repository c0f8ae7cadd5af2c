#include "platform/StagedEntry.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <vector>

namespace bw {

namespace {

// A name beside the target that no library file could have: hidden, and ending in "~", so a copy
// cut short by a crash is never taken for a real file of the user's.
std::string TempNameFor(const std::string& target, unsigned attempt) {
    const size_t slash = target.find_last_of('/');
    std::string name = target.substr(slash + 1);
    if (name.size() > 200) name.resize(200);  // room for the tag within the name length limit
    uint64_t r = 0;
    if (::getrandom(&r, sizeof r, GRND_NONBLOCK) != static_cast<ssize_t>(sizeof r))
        r = static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    r ^= attempt;
    std::string tag;
    for (int i = 0; i < 8; ++i, r /= 36) tag += "0123456789abcdefghijklmnopqrstuvwxyz"[r % 36];
    return target.substr(0, slash + 1) + "." + name + "." + tag + "~";
}

// Removes a staged tree; it was made by this program, and links in it are removed, not followed.
void RemoveQuietly(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) return;
    if (!S_ISDIR(st.st_mode)) {
        ::unlink(path.c_str());
        return;
    }
    std::vector<std::string> names;
    if (DIR* dir = ::opendir(path.c_str())) {
        while (dirent* e = ::readdir(dir)) {
            std::string n = e->d_name;
            if (n != "." && n != "..") names.push_back(n);
        }
        ::closedir(dir);
    }
    for (const auto& n : names) RemoveQuietly(path + "/" + n);
    ::rmdir(path.c_str());
}

}  // namespace

RefusedEntry::RefusedEntry(std::string hostPath)
    : PlatformError(err::kPathFileAccess, DescriptionOf(err::kPathFileAccess) + ": " + hostPath),
      hostPath_(std::move(hostPath)) {}

void ThrowForHostPath(int e, const std::string& hostPath) {
    if (e == ENOENT) {
        const size_t slash = hostPath.find_last_of('/');
        const std::string parent =
            slash == std::string::npos || slash == 0 ? "/" : hostPath.substr(0, slash);
        struct stat st {};
        if (::stat(parent.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
            throw PlatformError::FromNumber(err::kPathNotFound);
    }
    throw PlatformError::FromErrno(e);
}

StagedEntry::StagedEntry(Kind kind, std::string target, WriteStepHook hook)
    : kind_(kind), target_(std::move(target)), hook_(std::move(hook)) {}

StagedEntry::StagedEntry(StagedEntry&& o) noexcept
    : kind_(o.kind_),
      target_(std::move(o.target_)),
      temp_(std::move(o.temp_)),
      hook_(std::move(o.hook_)),
      fd_(o.fd_),
      folderMode_(o.folderMode_),
      committed_(o.committed_) {
    o.temp_.clear();
    o.fd_ = -1;
}

StagedEntry::~StagedEntry() {
    if (fd_ >= 0) ::close(fd_);
    if (!committed_ && !temp_.empty()) RemoveQuietly(temp_);
}

StagedEntry StagedEntry::File(const std::string& target, mode_t mode, WriteStepHook hook) {
    StagedEntry e(Kind::File, target, std::move(hook));
    e.Create({}, mode);
    return e;
}

StagedEntry StagedEntry::Link(const std::string& target, const std::string& linkText,
                              WriteStepHook hook) {
    StagedEntry e(Kind::Link, target, std::move(hook));
    e.Create(linkText, 0);
    return e;
}

StagedEntry StagedEntry::Folder(const std::string& target, mode_t mode, WriteStepHook hook) {
    StagedEntry e(Kind::Folder, target, std::move(hook));
    e.folderMode_ = mode;
    e.Create({}, S_IRWXU);
    return e;
}

void StagedEntry::Create(const std::string& linkText, mode_t mode) {
    // Exclusive creation under a fresh name: an entry already there, a link above all, is never
    // opened; another name is tried instead.
    for (unsigned attempt = 0;; ++attempt) {
        std::string temp = TempNameFor(target_, attempt);
        int rc = 0;
        if (kind_ == Kind::File) {
            rc = fd_ = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                              mode & 07777);
        } else if (kind_ == Kind::Link) {
            rc = ::symlink(linkText.c_str(), temp.c_str());
        } else {
            rc = ::mkdir(temp.c_str(), mode);
        }
        if (rc >= 0) {
            temp_ = std::move(temp);
            break;
        }
        if (errno != EEXIST || attempt == 100) ThrowForHostPath(errno, target_);
    }
    Step(WriteStep::Create);
}

void StagedEntry::Step(WriteStep step) const {
    if (hook_) hook_(step);
}

void StagedEntry::Write(const char* data, size_t size) {
    while (size > 0) {
        ssize_t n = ::write(fd_, data, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            throw PlatformError::FromErrno(errno);
        }
        data += n;
        size -= static_cast<size_t>(n);
    }
    Step(WriteStep::Write);
}

void StagedEntry::CopyFrom(int fd) {
    alignas(64) char buf[1 << 16];  // the kernel copies faster to an aligned destination
    ssize_t n = 0;
    do {
        n = ::read(fd, buf, sizeof buf);
        if (n < 0) {
            if (errno == EINTR) continue;
            throw PlatformError::FromErrno(errno);
        }
        Write(buf, static_cast<size_t>(n));
    } while (n != 0);
}

void StagedEntry::SetMode(mode_t mode) {
    if (::fchmod(fd_, mode & 07777) != 0) throw PlatformError::FromErrno(errno);
}

void StagedEntry::Close(Flush flush) {
    if (flush == Flush::Now) {
        if (::fsync(fd_) != 0) throw PlatformError::FromErrno(errno);
        Step(WriteStep::Flush);
    }
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) throw PlatformError::FromErrno(errno);
}

void StagedEntry::Replace() {
    Step(WriteStep::Commit);
    if (kind_ == Kind::Folder && ::chmod(temp_.c_str(), folderMode_ & 07777) != 0)
        throw PlatformError::FromErrno(errno);
    if (::rename(temp_.c_str(), target_.c_str()) != 0) ThrowForHostPath(errno, target_);
    committed_ = true;
}

void StagedEntry::Place() {
    Step(WriteStep::Commit);
    if (kind_ == Kind::Folder && ::chmod(temp_.c_str(), folderMode_ & 07777) != 0)
        throw PlatformError::FromErrno(errno);
    if (::renameat2(AT_FDCWD, temp_.c_str(), AT_FDCWD, target_.c_str(), RENAME_NOREPLACE) != 0) {
        const int e = errno;
        if (e != EINVAL && e != ENOSYS) ThrowForHostPath(e, target_);
        // A file system without the no-replace rename: look first, the best that it allows.
        struct stat st {};
        if (::lstat(target_.c_str(), &st) == 0)
            throw PlatformError::FromNumber(err::kFileAlreadyExists);
        if (::rename(temp_.c_str(), target_.c_str()) != 0) ThrowForHostPath(errno, target_);
    }
    committed_ = true;
}

}  // namespace bw
