#include "platform/HostCopy.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <optional>
#include <vector>

#include "platform/Fd.h"
#include "platform/StagedEntry.h"

namespace bw {

namespace {

std::string ParentOf(const std::string& hostPath) {
    const size_t slash = hostPath.find_last_of('/');
    return slash == std::string::npos || slash == 0 ? "/" : hostPath.substr(0, slash);
}

// The entry at a path, not following a link; none when nothing has that name.
std::optional<struct stat> EntryAt(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0) return st;
    if (errno != ENOENT) ThrowForHostPath(errno, path);
    return std::nullopt;
}

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// What may stand where a file or link is written: nothing, or a file or link to be replaced.
void CheckReplaceable(const std::string& path, const std::optional<struct stat>& t,
                      bool overwrite) {
    if (!t) return;
    if (!overwrite) throw PlatformError::FromNumber(err::kFileAlreadyExists);
    if (!S_ISREG(t->st_mode) && !S_ISLNK(t->st_mode)) throw RefusedEntry(path);
    if (S_ISREG(t->st_mode) && (t->st_mode & S_IWUSR) == 0)
        throw PlatformError::FromNumber(err::kPermissionDenied);
}

// Opens a source file for reading, without blocking and only if it is still the regular file that
// was planned: a pipe put in its place would otherwise hang the copy.
int OpenSource(const std::string& path, const struct stat& planned, bool followLink) {
    const int fd =
        ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | (followLink ? 0 : O_NOFOLLOW));
    if (fd < 0) {
        if (errno == ELOOP) throw RefusedEntry(path);
        ThrowForHostPath(errno, path);
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || !SameFile(st, planned)) {
        ::close(fd);
        throw RefusedEntry(path);
    }
    return fd;
}

std::string ReadLink(const std::string& path) {
    char target[4096];
    const ssize_t n = ::readlink(path.c_str(), target, sizeof target);
    if (n < 0) ThrowForHostPath(errno, path);
    if (static_cast<size_t>(n) == sizeof target) throw RefusedEntry(path);
    return std::string(target, static_cast<size_t>(n));
}

std::vector<std::string> NamesIn(const std::string& folder) {
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) ThrowForHostPath(errno, folder);
    std::vector<std::string> names;
    while (dirent* e = ::readdir(dir)) {
        std::string n = e->d_name;
        if (n != "." && n != "..") names.push_back(std::move(n));
    }
    ::closedir(dir);
    return names;
}

// One entry of a planned folder copy. A folder absent from the target is made whole under a
// temporary name (NewFolder); what lies inside it (`within` names that step) needs no checks.
struct CopyStep {
    enum class Kind { NewFolder, Folder, File, Link } kind;
    std::string from, to;
    struct stat st;
    int within = -1;
    bool replaces = false;
};

CopyStep::Kind KindOf(const std::string& path, const struct stat& st) {
    if (S_ISDIR(st.st_mode)) return CopyStep::Kind::Folder;
    if (S_ISREG(st.st_mode)) return CopyStep::Kind::File;
    if (S_ISLNK(st.st_mode)) return CopyStep::Kind::Link;
    throw RefusedEntry(path);  // a pipe, socket or device
}

void PlanInsideNewFolder(const std::string& from, const std::string& to, int within,
                         std::vector<CopyStep>& plan) {
    for (const auto& name : NamesIn(from)) {
        const std::string f = from + "/" + name, t = to + "/" + name;
        const auto st = EntryAt(f);
        if (!st) continue;  // gone since the folder was read
        const CopyStep::Kind kind = KindOf(f, *st);
        plan.push_back({kind, f, t, *st, within});
        if (kind == CopyStep::Kind::Folder) PlanInsideNewFolder(f, t, within, plan);
    }
}

void PlanCopy(const std::string& from, const std::string& to, bool overwrite,
              std::vector<CopyStep>& plan) {
    const auto st = EntryAt(from);
    if (!st) ThrowForHostPath(ENOENT, from);
    const CopyStep::Kind kind = KindOf(from, *st);
    const auto target = EntryAt(to);
    if (kind != CopyStep::Kind::Folder) {
        CheckReplaceable(to, target, overwrite);
        plan.push_back({kind, from, to, *st, -1, target.has_value()});
        return;
    }
    if (!target) {
        plan.push_back({CopyStep::Kind::NewFolder, from, to, *st});
        PlanInsideNewFolder(from, to, static_cast<int>(plan.size() - 1), plan);
        return;
    }
    if (!overwrite) throw PlatformError::FromNumber(err::kFileAlreadyExists);
    // Merging goes into a real folder only: through a link it would write outside the target,
    // and into the source itself it would copy files onto themselves.
    if (!S_ISDIR(target->st_mode) || SameFile(*st, *target)) throw RefusedEntry(to);
    for (const auto& name : NamesIn(from)) PlanCopy(from + "/" + name, to + "/" + name, true, plan);
}

mode_t FolderMode(const struct stat& st) { return (st.st_mode & 07777) | S_IRWXU; }

}  // namespace

void WriteHostFile(const std::string& path, const std::string& bytes, bool syncFolder,
                   const WriteStepHook& hook) {
    const auto existing = EntryAt(path);
    CheckReplaceable(path, existing, true);
    StagedEntry file = StagedEntry::File(path, 0666, hook);
    if (existing && S_ISREG(existing->st_mode)) file.SetMode(existing->st_mode);
    file.Write(bytes.data(), bytes.size());
    file.Close(Flush::Now);
    file.Replace();
    if (syncFolder) {
        Fd folder(::open(ParentOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (folder.get() < 0 || ::fsync(folder.get()) != 0) throw PlatformError::FromErrno(errno);
    }
}

void CopyHostFile(const std::string& from, const std::string& to, bool overwrite,
                  const WriteStepHook& hook) {
    struct stat st {};
    if (::stat(from.c_str(), &st) != 0) ThrowForHostPath(errno, from);
    if (S_ISDIR(st.st_mode)) throw PlatformError::FromNumber(err::kPathFileAccess);
    if (!S_ISREG(st.st_mode)) throw RefusedEntry(from);
    CheckReplaceable(to, EntryAt(to), overwrite);
    Fd in(OpenSource(from, st, true));
    StagedEntry file = StagedEntry::File(to, st.st_mode, hook);
    file.CopyFrom(in.get());
    file.Close(Flush::Now);
    overwrite ? file.Replace() : file.Place();
}

void CopyHostTree(const std::string& from, const std::string& to, bool overwrite,
                  const WriteStepHook& hook) {
    std::vector<CopyStep> plan;
    PlanCopy(from, to, overwrite, plan);

    // Everything is staged first; the entries renamed into the target at the end are `staged`,
    // and `stagedAt[i]` is where plan step i went among them.
    std::vector<StagedEntry> staged;
    std::vector<size_t> stagedAt(plan.size());
    staged.reserve(plan.size());
    for (size_t i = 0; i < plan.size(); ++i) {
        const CopyStep& s = plan[i];
        std::string path = s.to;
        if (s.within >= 0) {
            const auto w = static_cast<size_t>(s.within);
            path = staged[stagedAt[w]].tempPath() + s.to.substr(plan[w].to.size());
        }
        switch (s.kind) {
            case CopyStep::Kind::NewFolder:
                stagedAt[i] = staged.size();
                staged.push_back(StagedEntry::Folder(path, FolderMode(s.st), hook));
                break;
            case CopyStep::Kind::Folder:
                if (::mkdir(path.c_str(), FolderMode(s.st)) != 0) ThrowForHostPath(errno, path);
                break;
            case CopyStep::Kind::File: {
                Fd in(OpenSource(s.from, s.st, false));
                StagedEntry file = StagedEntry::File(path, s.st.st_mode, hook);
                file.CopyFrom(in.get());
                file.Close(Flush::Later);
                if (s.within >= 0) {
                    file.Place();
                } else {
                    stagedAt[i] = staged.size();
                    staged.push_back(std::move(file));
                }
                break;
            }
            case CopyStep::Kind::Link: {
                StagedEntry link = StagedEntry::Link(path, ReadLink(s.from), hook);
                if (s.within >= 0) {
                    link.Place();
                } else {
                    stagedAt[i] = staged.size();
                    staged.push_back(std::move(link));
                }
                break;
            }
        }
    }
    if (staged.empty()) return;

    // One flush of the target's file system covers every file staged above.
    Fd target(::open(ParentOf(to).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (target.get() < 0 || ::syncfs(target.get()) != 0) throw PlatformError::FromErrno(errno);
    if (hook) hook(WriteStep::Flush);

    for (size_t i = 0; i < plan.size(); ++i) {
        if (plan[i].within >= 0 || plan[i].kind == CopyStep::Kind::Folder) continue;
        StagedEntry& e = staged[stagedAt[i]];
        plan[i].replaces ? e.Replace() : e.Place();
    }
}

}  // namespace bw
