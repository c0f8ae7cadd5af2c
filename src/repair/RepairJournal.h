#pragma once

#include <string>
#include <vector>

#include "repair/ContentHash.h"

namespace bw {
class FileSystem;
}

namespace bw::repair {

// One library file a batch changed, as its journal records it before the file is replaced.
struct JournalEntry {
    std::string file;  // host path
    std::string
        copy;  // name, inside the batch's folder, of the file's old bytes as they were on disk
    ContentHash oldHash, newHash;  // of the bytes on disk before and after, compressed or not
};

// What a batch's journal folder holds besides the copies.
struct JournalManifest {
    std::string created;  // UTC, "2026-12-06T23:59:59Z"
    bool undone = false;
    std::vector<JournalEntry> entries;
};

// $XDG_DATA_HOME/Brindlewood/journal, else ~/.local/share/Brindlewood/journal.
std::string DefaultJournalRoot();

// The batch folders under `root` (host path), newest first; none when the root does not exist.
std::vector<std::string> JournalFolders(const std::string& root);

// The manifest of a batch folder. Throws PlatformError: 53 when there is none (a batch stopped
// before it recorded anything), 75 when it cannot be understood.
JournalManifest ReadManifest(const FileSystem& fs, const std::string& folder);
// Writes the manifest all-or-nothing and flushes it and its folder to the disk.
void WriteManifest(FileSystem& fs, const std::string& folder, const JournalManifest& manifest);

// The journal of a batch being applied: a new folder under the root, named so that names sort by
// time, holding an empty manifest from the start.
class JournalWriter {
  public:
    // Throws PlatformError when the folder or its manifest cannot be made.
    JournalWriter(FileSystem& fs, const std::string& root);

    const std::string& folder() const { return folder_; }

    // Keeps the old bytes of a file the batch is to change, flushed to the disk; it is recorded
    // once Seal writes the manifest. Throws PlatformError.
    void Keep(const std::string& file, const std::string& oldBytes, const ContentHash& newHash);
    // Writes the manifest naming every file kept, flushed with its folder, so those files may then
    // be replaced. Throws PlatformError.
    void Seal();

  private:
    FileSystem& fs_;
    std::string folder_;
    JournalManifest manifest_;
};

}  // namespace bw::repair
