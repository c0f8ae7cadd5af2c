#pragma once

#include <algorithm>
#include <filesystem>
#include <set>

#include "browser/TreePopulation.h"
#include "platform/PlatformError.h"
#include "platform/Shell.h"
#include "platform/Text.h"
#include "support/AppFixture.h"

namespace bw::test {

// Records what the desktop is asked (trashed: names of what went); its trash takes the item away.
class FakeShell : public Shell {
  public:
    void MoveToTrash(const std::string& hostPath) override {
        if (trashError) throw PlatformError::FromNumber(trashError);
        trashed.push_back(std::filesystem::path(hostPath).filename());
        std::filesystem::remove_all(hostPath);
    }
    bool HasAssociatedApplication(const std::string& hostPath) override {
        return associated.count(std::filesystem::path(hostPath).extension().string()) > 0;
    }
    void Open(const std::string& hostPath) override { opened.push_back(hostPath); }

    int trashError = 0;
    std::set<std::string> associated;  // extensions with an application
    std::vector<std::string> trashed, opened;
};

// Fails chosen calls (tests run as root, so permissions stop nothing) and lists folders in a fixed
// order standing in for the file system's own.
class TestFileSystem : public FileSystem {
  public:
    using FileSystem::FileSystem;
    int renameError = 0, deleteError = 0, copyError = 0;
    std::string unreadableFolder;
    bool descending = false;

    void Rename(const std::string& from, const std::string& to) override {
        if (renameError) throw PlatformError::FromNumber(renameError);
        FileSystem::Rename(from, to);
    }
    void DeleteFile(const std::string& path) override {
        if (deleteError) throw PlatformError::FromNumber(deleteError);
        FileSystem::DeleteFile(path);
    }
    // The copy is made, then fails, as on a disk that fills up half way.
    void CopyFolder(const std::string& from, const std::string& to, Overwrite overwrite) override {
        FileSystem::CopyFolder(from, to, overwrite);
        if (copyError) throw PlatformError::FromNumber(copyError);
    }
    std::vector<FolderEntry> ListFolder(const std::string& folder) const override {
        if (folder == unreadableFolder) throw PlatformError::FromNumber(err::kPermissionDenied);
        auto entries = FileSystem::ListFolder(folder);
        std::sort(entries.begin(), entries.end(),
                  [&](const auto& a, const auto& b) { return (a.name < b.name) != descending; });
        return entries;
    }
};

class FileopsFixture : public AppFixture {
  protected:
    FileopsFixture() : fs(new TestFileSystem(app->fs->driveMap())) {
        app->fs.reset(fs);
        app->shell = &shell;
    }
    // The node with this full path, expanding only folders not listed yet, so that nodes found
    // before stay in the tree.
    Node* reveal(const std::string& fullPath) {
        if (app->tree.roots().empty()) GetDrives(*app);
        auto parts = Split(fullPath, '\\');
        Node* node = app->tree.roots().front().get();
        for (size_t i = 1; node && i < parts.size(); ++i) {
            if (!childNamed(node, parts[i])) ExpandNode(*app, *node);
            node = childNamed(node, parts[i]);
        }
        return node;
    }
    // Each box shown, as "title|style|prompt".
    static std::vector<std::string> Shown(const std::vector<FakeDesktop::Box>& boxes) {
        std::vector<std::string> out;
        for (const auto& b : boxes)
            out.push_back(b.title + "|" + std::to_string(b.style) + "|" + b.prompt);
        return out;
    }
    size_t errorsShown() const { return desktop.msgBoxes.size() + desktop.systemMessages.size(); }

    TestFileSystem* fs;  // owned by app
    FakeShell shell;
};

// Names parameterised cases after their `what`, written as an identifier.
inline const auto ByWhat = [](const auto& info) { return std::string(info.param.what); };

}  // namespace bw::test
