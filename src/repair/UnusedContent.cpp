#include "repair/UnusedContent.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <unordered_set>

#include "check/CheckReport.h"
#include "core/Classification.h"
#include "platform/PlatformError.h"
#include "platform/Text.h"
#include "repair/ReferenceUse.h"

namespace bw::repair {

namespace {

struct Dir {
    DIR* dir;
    ~Dir() {
        if (dir) ::closedir(dir);
    }
};

// Every content file below `relative`, recursively; links count as the files they lead to, links
// to folders are not followed.
void ListContent(const std::string& runtime, const std::string& relative,
                 std::vector<std::pair<std::string, uint64_t>>& out) {
    Dir d{::opendir((runtime + "/" + relative).c_str())};
    if (!d.dir) return;
    while (const dirent* e = ::readdir(d.dir)) {
        const std::string_view name = e->d_name;
        if (name == "." || name == "..") continue;
        struct stat st {};
        if (::fstatat(::dirfd(d.dir), e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
        const std::string path = relative + "/" + std::string(name);
        if (S_ISDIR(st.st_mode)) {
            ListContent(runtime, path, out);
        } else if (IsContentFileName(name) &&
                   (S_ISREG(st.st_mode) ||
                    (S_ISLNK(st.st_mode) && ::fstatat(::dirfd(d.dir), e->d_name, &st, 0) == 0 &&
                     S_ISREG(st.st_mode)))) {
            out.emplace_back(path, static_cast<uint64_t>(st.st_size));
        }
    }
}

}  // namespace

bool IsContentFileName(std::string_view name) {
    return IsImageFile(name) || EndsWith(AsciiLower(name), ".jpeg") ||
           EndsWith(AsciiLower(name), ".tiff") || EndsWith(AsciiLower(name), ".obj") ||
           EndsWith(AsciiLower(name), ".obz");
}

UnusedContent FindUnusedContent(const std::string& runtimeHost,
                                const std::vector<check::CheckRow>& rows, const DriveMap& drives) {
    const std::string runtime = WithoutTrailingSlashes(runtimeHost);
    UnusedContent result;
    std::unordered_set<std::string> used;  // lower case, below the Runtime folder
    // A reference resolves the same in every row of one check, so each is worked out once.
    std::unordered_set<std::string_view> seen;
    for (const auto& row : rows) {
        if (row.status == check::RefStatus::Unreadable) ++result.unreadable;
        if (!seen.insert(row.reference.str()).second) continue;
        for (const auto& r :
             UsedRelatives(row.reference.str(), row.status, row.candidates, runtime, drives))
            used.insert(AsciiLower(r));
    }

    std::vector<std::pair<std::string, uint64_t>> content;
    {
        Dir d{::opendir(runtime.c_str())};
        if (!d.dir) throw PlatformError::FromErrno(errno);
        while (const dirent* e = ::readdir(d.dir)) {
            const std::string_view name = e->d_name;
            struct stat st {};
            if ((AsciiEqualsIgnoreCase(name, "Textures") ||
                 AsciiEqualsIgnoreCase(name, "Geometries")) &&
                ::fstatat(::dirfd(d.dir), e->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 &&
                S_ISDIR(st.st_mode))
                ListContent(runtime, std::string(name), content);
        }
    }
    for (auto& [relative, size] : content) {
        if (used.count(AsciiLower(relative))) continue;
        result.totalSize += size;
        result.files.push_back({runtime + "/" + relative, size});
    }
    std::sort(result.files.begin(), result.files.end(),
              [](const UnusedFile& a, const UnusedFile& b) { return a.path < b.path; });
    return result;
}

void WriteUnusedCsv(std::ostream& out, const UnusedContent& content) {
    out << "file,size\r\n";
    for (const auto& f : content.files) out << check::CsvField(f.path) << ',' << f.size << "\r\n";
}

}  // namespace bw::repair
