#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <set>

#include "core/ContentUsage.h"
#include "core/TreePopulation.h"
#include "platform/PlatformError.h"
#include "platform/Shell.h"
#include "platform/Text.h"
#include "support/AppFixture.h"
#include "support/FailingFileSystem.h"
#include "support/ParamNames.h"

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

// Says which library files use what, as the check's index would; records what it is told.
class FakeUsage : public ContentUsage {
  public:
    std::optional<Users> UsersOf(const std::string& hostPath) override {
        asked.push_back(hostPath);
        return users;
    }
    std::function<void()> PrepareMove(const std::string& from, const std::string& to) override {
        prepared.push_back(from + " > " + to);
        return [this] { ++movesFollowedUp; };
    }
    std::optional<Users> users;
    std::vector<std::string> asked, prepared;
    int movesFollowedUp = 0;
};

class FileopsFixture : public AppFixture {
  protected:
    FileopsFixture() : fs(InstallFailingFileSystem(*app)) {
        app->shell = &shell;
        app->usage = &usage;
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

    FailingFileSystem* fs;  // owned by app
    FakeShell shell;
    FakeUsage usage;
};

}  // namespace bw::test
