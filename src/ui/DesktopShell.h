#pragma once

#include <memory>
#include <string>

#include "platform/Shell.h"

namespace bw {

// The Linux desktop's shell: the freedesktop trash, the MIME database with xdg-mime, and xdg-open.
class DesktopShell : public Shell {
  public:
    void MoveToTrash(const std::string& hostPath) override;
    bool HasAssociatedApplication(const std::string& hostPath) override;
    void Open(const std::string& hostPath) override;
};

std::unique_ptr<Shell> MakeDesktopShell();

// The classic error number of a failed move to the trash, from the system's message that Qt gives
// for it: a refusal (an immutable file, missing rights, a read-only medium) is 70, a vanished
// item 53, a full disk 61; a message that names no known cause is 75.
int TrashFailureNumber(const std::string& systemMessage);

// True when `trashPath` is where a freedesktop trash keeps its files: absolute, inside a
// "Trash/files" or ".Trash-<uid>/files" folder.
bool IsTrashLocation(const std::string& trashPath);

}  // namespace bw
