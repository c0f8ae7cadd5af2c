#include "repair/RepairJournal.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <nlohmann/json.hpp>

#include "platform/Fd.h"
#include "platform/FileSystem.h"
#include "platform/PlatformError.h"
#include "platform/StagedEntry.h"

namespace bw::repair {

namespace {

constexpr const char* kManifestName = "manifest.json";
constexpr int kFormatVersion = 1;
constexpr size_t kStampLength = 15;  // "20261206T235959"

std::string UtcNow(const char* format) {
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
    ::gmtime_r(&now, &tm);
    char text[32];
    std::strftime(text, sizeof text, format, &tm);
    return text;
}

nlohmann::json ToJson(const ContentHash& h) { return {{"sha256", h.sha256}, {"size", h.size}}; }

ContentHash HashFromJson(const nlohmann::json& j) {
    return {j.at("sha256").get<std::string>(), j.at("size").get<uint64_t>()};
}

// The batch folder's entry reaches the disk with its parent, so a crash cannot lose a journal whose
// file changes did reach it.
void SyncFolder(const std::string& host) {
    Fd folder(::open(host.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.get() < 0 || ::fsync(folder.get()) != 0) throw PlatformError::FromErrno(errno);
}

// A folder name after those already there for the same second, so names keep the batches' order.
std::string NewBatchFolder(const std::string& root) {
    std::error_code ec;
    std::filesystem::create_directories(root, ec);
    if (ec) ThrowForHostPath(ec.value(), root);
    const std::string stamp = UtcNow("%Y%m%dT%H%M%S");
    int sequence = 0;
    for (const auto& name : JournalFolders(root)) {
        const std::string base = name.substr(name.find_last_of('/') + 1);
        if (base.compare(0, kStampLength, stamp) == 0 && base.size() > kStampLength + 4)
            sequence = std::max(sequence, std::atoi(base.c_str() + kStampLength + 1));
    }
    for (;;) {
        char name[64];
        std::snprintf(name, sizeof name, "%s-%03d-%d", stamp.c_str(), ++sequence,
                      static_cast<int>(::getpid()));
        const std::string folder = root + "/" + name;
        try {
            StagedEntry::Folder(folder, 0700, {}).Place();
        } catch (const PlatformError& e) {
            if (e.number() == err::kFileAlreadyExists) continue;  // another batch took the name
            throw;
        }
        SyncFolder(root);
        return folder;
    }
}

std::string Windows(const FileSystem& fs, const std::string& folder, const std::string& name) {
    return fs.WindowsPath(folder + "/" + name);
}

}  // namespace

std::string DefaultJournalRoot() {
    std::string data;
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg == '/') {
        data = xdg;
    } else if (const char* home = std::getenv("HOME"); home && *home) {
        data = std::string(home) + "/.local/share";
    } else {
        data = "/tmp";
    }
    return data + "/Brindlewood/journal";
}

std::vector<std::string> JournalFolders(const std::string& root) {
    std::vector<std::string> names;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(root, ec), end; !ec && it != end;
         it.increment(ec)) {
        const std::string name = it->path().filename().string();
        // Only the batches' own names; anything else a user put there is left alone.
        if (name.size() > kStampLength && name[8] == 'T' && name[kStampLength] == '-' &&
            it->is_directory(ec))
            names.push_back(name);
    }
    std::sort(names.rbegin(), names.rend());
    for (auto& n : names) n = root + "/" + n;
    return names;
}

JournalManifest ReadManifest(const FileSystem& fs, const std::string& folder) {
    const std::string text = fs.ReadFile(Windows(fs, folder, kManifestName));
    try {
        const auto j = nlohmann::json::parse(text);
        if (j.at("version").get<int>() != kFormatVersion)
            throw PlatformError(err::kPathFileAccess, "journal of another format: " + folder);
        JournalManifest m;
        m.created = j.at("created").get<std::string>();
        m.undone = j.at("undone").get<bool>();
        for (const auto& e : j.at("files")) {
            m.entries.push_back({e.at("file").get<std::string>(), e.at("copy").get<std::string>(),
                                 HashFromJson(e.at("old")), HashFromJson(e.at("new"))});
        }
        return m;
    } catch (const nlohmann::json::exception&) {
        throw PlatformError(err::kPathFileAccess, "damaged repair journal: " + folder);
    }
}

void WriteManifest(FileSystem& fs, const std::string& folder, const JournalManifest& manifest) {
    nlohmann::json files = nlohmann::json::array();
    for (const auto& e : manifest.entries) {
        files.push_back({{"file", e.file},
                         {"copy", e.copy},
                         {"old", ToJson(e.oldHash)},
                         {"new", ToJson(e.newHash)}});
    }
    const nlohmann::json j = {{"version", kFormatVersion},
                              {"created", manifest.created},
                              {"undone", manifest.undone},
                              {"files", files}};
    std::string text;
    try {
        text = j.dump(2) + "\n";
    } catch (const nlohmann::json::exception&) {
        throw PlatformError(err::kBadFileName, "a file name the journal cannot record (not UTF-8)");
    }
    fs.WriteFile(Windows(fs, folder, kManifestName), text, /*sync=*/true);
}

JournalWriter::JournalWriter(FileSystem& fs, const std::string& root)
    : fs_(fs), folder_(NewBatchFolder(root)) {
    manifest_.created = UtcNow("%Y-%m-%dT%H:%M:%SZ");
    WriteManifest(fs_, folder_, manifest_);
}

void JournalWriter::Keep(const std::string& file, const std::string& oldBytes,
                         const ContentHash& newHash) {
    // The manifest must be able to name the file before anything of it is kept.
    try {
        (void)nlohmann::json(file).dump();
    } catch (const nlohmann::json::exception&) {
        throw PlatformError(err::kBadFileName, "a file name the journal cannot record (not UTF-8)");
    }
    char copy[32];
    std::snprintf(copy, sizeof copy, "%05zu.old", manifest_.entries.size() + 1);
    // Each copy is flushed as it is written; their names reach the disk with the manifest's.
    fs_.WriteFile(Windows(fs_, folder_, copy), oldBytes, /*sync=*/false);
    manifest_.entries.push_back({file, copy, HashOf(oldBytes), newHash});
}

void JournalWriter::Seal() { WriteManifest(fs_, folder_, manifest_); }

}  // namespace bw::repair
