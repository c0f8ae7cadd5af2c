#pragma once

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "app/AppState.h"
#include "browser/TreePopulation.h"
#include "platform/PlatformError.h"
#include "platform/Shell.h"
#include "platform/Text.h"
#include "support/AppFixture.h"

namespace bw::test {

// A desktop shell that records what it is asked; its trash is a plain folder.
class FakeShell : public Shell {
  public:
    void MoveToTrash(const std::string& hostPath) override {
        trashed.push_back(hostPath);
        if (trashError) throw PlatformError::FromNumber(trashError);
        std::filesystem::rename(hostPath, trash.host(std::to_string(trashed.size())));
    }
    bool HasAssociatedApplication(const std::string& hostPath) override {
        asked.push_back(hostPath);
        return associated.count(std::filesystem::path(hostPath).extension().string()) > 0;
    }
    void Open(const std::string& hostPath) override { opened.push_back(hostPath); }

    TestDir trash;
    int trashError = 0;
    std::set<std::string> associated;  // extensions with an application
    std::vector<std::string> trashed, asked, opened;
};

// Fails chosen calls with chosen numbers (tests run as root, so permissions stop nothing), and
// lists folders in a fixed order standing in for the file system's own.
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
    // The copy is made, then fails, as a disk that fills up half way would.
    void CopyFolder(const std::string& from, const std::string& to, Overwrite overwrite) override {
        FileSystem::CopyFolder(from, to, overwrite);
        if (copyError) throw PlatformError::FromNumber(copyError);
    }
    std::vector<FolderEntry> ListFolder(const std::string& folder) const override {
        if (!unreadableFolder.empty() && folder.rfind(unreadableFolder, 0) == 0)
            throw PlatformError::FromNumber(70);
        auto entries = FileSystem::ListFolder(folder);
        std::sort(entries.begin(), entries.end(), [this](const auto& a, const auto& b) {
            return descending ? a.name > b.name : a.name < b.name;
        });
        return entries;
    }
};

class FileopsFixture : public AppFixture {
  protected:
    FileopsFixture() {
        auto testFs = std::make_unique<TestFileSystem>(app->fs->driveMap());
        fs = testFs.get();
        app->fs = std::move(testFs);
        app->shell = &shell;
    }
    // The node with this full path, expanding only folders not listed yet, so nodes found before
    // stay in the tree.
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
    Node* select(const std::string& fullPath) {
        Node* n = reveal(fullPath);
        app->CurrentNode = NodeHandle(n);
        return n;
    }
    bool shown(const std::string& fullPath) const {
        bool found = false;
        app->tree.ForEach([&](Node* n) { return !(found = n->FullPath() == fullPath); });
        return found;
    }
    static std::vector<std::string> childTexts(const Node* n) {
        std::vector<std::string> out;
        for (const auto& ch : n->children()) out.push_back(ch->text());
        return out;
    }
    size_t errorsShown() const { return desktop.msgBoxes.size() + desktop.systemMessages.size(); }

    FakeShell shell;
    TestFileSystem* fs;
};

inline std::string CaseName(const char* what) {
    std::string n = what;
    for (char& ch : n)
        if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
    return n;
}

}  // namespace bw::test
