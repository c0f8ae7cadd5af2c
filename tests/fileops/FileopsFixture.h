#pragma once

#include <cctype>
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

// A test-name-safe form of a case's description.
inline std::string CaseName(const char* what) {
    std::string n = what;
    for (char& ch : n)
        if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
    return n;
}

// A desktop shell that records what it was asked. Its trash is a plain folder; `trashError`
// makes every trash request fail with that number.
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
    std::set<std::string> associated;  // extensions with an application, ".txt"
    std::vector<std::string> trashed, asked, opened;
};

// The program over a temp C: drive with the fake shell, and a way to select a node by its path.
class FileopsFixture : public AppFixture {
  protected:
    FileopsFixture() { app->shell = &shell; }

    // The node with this full path, expanding only folders not listed yet, so nodes found
    // before stay in the tree; null when there is none.
    Node* reveal(const std::string& fullPath) {
        if (app->tree.roots().empty()) GetDrives(*app);
        auto parts = Split(fullPath, '\\');
        Node* node = nullptr;
        for (const auto& r : app->tree.roots())
            if (!parts.empty() && r->text() == parts[0]) node = r.get();
        for (size_t i = 1; node && i < parts.size(); ++i) {
            Node* next = childNamed(node, parts[i]);
            if (!next) {
                ExpandNode(*app, *node);
                next = childNamed(node, parts[i]);
            }
            node = next;
        }
        return node;
    }
    // Reveals the node and makes it current.
    Node* select(const std::string& fullPath) {
        Node* n = reveal(fullPath);
        app->CurrentNode = NodeHandle(n);
        return n;
    }
    // Whether any node of the tree shows this full path.
    bool shown(const std::string& fullPath) const {
        bool found = false;
        app->tree.ForEach([&](Node* n) {
            found = n->FullPath() == fullPath;
            return !found;
        });
        return found;
    }
    // Texts of a node's children, in tree order.
    static std::vector<std::string> childTexts(const Node* n) {
        std::vector<std::string> out;
        if (n)
            for (const auto& ch : n->children()) out.push_back(ch->text());
        return out;
    }

    FakeShell shell;
};

// A file system that fails chosen calls with chosen numbers, to stand in for locked items,
// full disks and other drives (tests run as root, so permissions do not stop them).
class FailingFileSystem : public FileSystem {
  public:
    using FileSystem::FileSystem;
    int renameError = 0, deleteError = 0, copyError = 0;
    std::string unreadableFolder;  // ListFolder of this folder fails with 70

    void Rename(const std::string& from, const std::string& to) override {
        if (renameError) throw PlatformError::FromNumber(renameError);
        FileSystem::Rename(from, to);
    }
    void DeleteFile(const std::string& path) override {
        if (deleteError) throw PlatformError::FromNumber(deleteError);
        FileSystem::DeleteFile(path);
    }
    void DeleteFolder(const std::string& path) override {
        if (deleteError) throw PlatformError::FromNumber(deleteError);
        FileSystem::DeleteFolder(path);
    }
    void CopyFile(const std::string& from, const std::string& to, Overwrite overwrite) override {
        FileSystem::CopyFile(from, to, overwrite);
        if (copyError) throw PlatformError::FromNumber(copyError);  // after a partial write
    }
    void CopyFolder(const std::string& from, const std::string& to, Overwrite overwrite) override {
        FileSystem::CopyFolder(from, to, overwrite);
        if (copyError) throw PlatformError::FromNumber(copyError);
    }
    std::vector<FolderEntry> ListFolder(const std::string& folder) const override {
        std::string f = folder;
        while (!f.empty() && f.back() == '\\') f.pop_back();
        if (!unreadableFolder.empty() && f == unreadableFolder) throw PlatformError::FromNumber(70);
        return FileSystem::ListFolder(folder);
    }
};

// The fixture with the failing file system in place of the real one.
class FailingFileopsFixture : public FileopsFixture {
  protected:
    FailingFileopsFixture() {
        auto failing = std::make_unique<FailingFileSystem>(app->fs->driveMap());
        fs = failing.get();
        app->fs = std::move(failing);
    }
    FailingFileSystem* fs;
};

}  // namespace bw::test
