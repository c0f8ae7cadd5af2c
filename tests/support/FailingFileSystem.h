#pragma once

#include <algorithm>
#include <map>
#include <string>

#include "core/AppState.h"
#include "platform/FileSystem.h"
#include "platform/PlatformError.h"

namespace bw::test {

// Throws the error number chosen for a step, as tests run as root and permissions stop nothing.
// A step is the method's name, with ":path" for ListFolder and ReadFileAt; "AfterWriteFile" fails
// once the work is done; WriteFile, Rename and Replace also count their calls ("Replace1",
// "Replace2");
// "Staged:Create", "Staged:Write", "Staged:Flush" and "Staged:Commit" fail inside any write or
// copy, as a disk filling up would. Folders list in name order, so that scans run in a known order.
class FailingFileSystem : public FileSystem {
  public:
    using FileSystem::FileSystem;
    std::map<std::string, int> failOn;

    std::vector<FolderEntry> ListFolder(const std::string& folder) const override {
        Fail("ListFolder:" + folder);
        auto entries = FileSystem::ListFolder(folder);
        std::sort(entries.begin(), entries.end(),
                  [](const auto& a, const auto& b) { return a.name < b.name; });
        return entries;
    }
    size_t ReadFileAt(const std::string& path, uint64_t offset, char* buffer, size_t size,
                      uint64_t* fileSize) const override {
        Fail("ReadFileAt:" + path);
        return FileSystem::ReadFileAt(path, offset, buffer, size, fileSize);
    }
    void WriteFile(const std::string& path, const std::string& bytes, bool sync) override {
        Fail("WriteFile");
        Fail("WriteFile" + std::to_string(++writeCalls_));
        FileSystem::WriteFile(path, bytes, sync);
        Fail("AfterWriteFile");
    }
    void Rename(const std::string& from, const std::string& to) override {
        Fail("Rename");
        Fail("Rename" + std::to_string(++renameCalls_));
        FileSystem::Rename(from, to);
    }
    void Replace(const std::string& from, const std::string& to) override {
        Fail("Replace" + std::to_string(++replaceCalls_));
        FileSystem::Replace(from, to);
    }
    void DeleteFile(const std::string& path) override {
        Fail("DeleteFile");
        FileSystem::DeleteFile(path);
    }
    void LinkOrCopyFile(const std::string& from, const std::string& to) override {
        Fail("LinkOrCopyFile");
        FileSystem::LinkOrCopyFile(from, to);
    }

  protected:
    void AtWriteStep(WriteStep step) const override {
        static const char* const kNames[] = {"Create", "Write", "Flush", "Commit"};
        Fail(std::string("Staged:") + kNames[static_cast<int>(step)]);
    }

  private:
    void Fail(const std::string& step) const {
        if (auto it = failOn.find(step); it != failOn.end() && it->second)
            throw PlatformError::FromNumber(it->second);
    }
    int writeCalls_ = 0;
    int renameCalls_ = 0;
    int replaceCalls_ = 0;
};

// Puts a FailingFileSystem over the same drives in place of the app's; the app owns it.
inline FailingFileSystem* InstallFailingFileSystem(AppState& app) {
    auto* fs = new FailingFileSystem(app.fs->driveMap());
    app.fs.reset(fs);
    return fs;
}

}  // namespace bw::test
