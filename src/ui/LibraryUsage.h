#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/ContentUsage.h"
#include "repair/ReferenceChange.h"

namespace bw {

class AppState;

// What the library check's cache knows of who uses what, for the file commands: answered only
// when the cache is fresh for the Runtime folder concerned, so a stale one never warns wrongly.
class LibraryUsage : public ContentUsage {
  public:
    explicit LibraryUsage(AppState& app);

    std::optional<Users> UsersOf(const std::string& hostPath) override;
    std::function<void()> PrepareMove(const std::string& oldHostPath,
                                      const std::string& newHostPath) override;

    // Where the check keeps what it read, and where repairs keep their journals; replaceable for
    // tests.
    std::string cachePath;
    std::string journalRoot;
    // Puts the changes a move asks for through the batch repair's preview and journal; without
    // it a move asks nothing.
    std::function<void(const std::vector<repair::ReferenceChange>&)> repairChanges;

  private:
    AppState& app_;
};

}  // namespace bw
