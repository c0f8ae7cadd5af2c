#include "support/AppFixture.h"

#include <unistd.h>

#include <filesystem>

#include "core/TreePopulation.h"
#include "platform/Text.h"

namespace bw::test {

AppFixture::AppFixture() {
    prefix.createDir("dosdevices");
    std::filesystem::create_directory_symlink(c.path(), prefix.host("dosdevices/c:"));
    app = std::make_unique<AppState>(
        desktop, std::make_unique<FileSystem>(DriveMap::FromPrefix(prefix.path())));
    app->settings.iniPath = app->fs->WindowsPath(prefix.host("Brindlewood.ini"));
}

Node* AppFixture::childNamed(Node* parent, const std::string& text) {
    if (!parent) return nullptr;
    for (const auto& ch : parent->children())
        if (ch->text() == text) return ch.get();
    return nullptr;
}

Node* AppFixture::expandTo(const std::string& fullPath) {
    if (app->tree.roots().empty()) GetDrives(*app);
    auto parts = Split(fullPath, '\\');
    Node* node = nullptr;
    for (const auto& r : app->tree.roots())
        if (!parts.empty() && r->text() == parts[0]) node = r.get();
    for (size_t i = 1; node && i < parts.size(); ++i) {
        ExpandNode(*app, *node);
        node = childNamed(node, parts[i]);
    }
    return node;
}

}  // namespace bw::test
