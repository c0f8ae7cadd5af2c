#pragma once

#include <string>

namespace bw {

// The desktop shell: recycle bin, associated applications, the file manager. Paths are host paths.
class Shell {
  public:
    virtual ~Shell() = default;
    // Moves a file or folder to the desktop's trash; throws PlatformError when it cannot.
    virtual void MoveToTrash(const std::string& hostPath) = 0;
    // True when some application is associated with the file's type.
    virtual bool HasAssociatedApplication(const std::string& hostPath) = 0;
    // Opens a file in its associated application, or a folder in the file manager, detached.
    // Throws PlatformError when nothing could be started.
    virtual void Open(const std::string& hostPath) = 0;
};

}  // namespace bw
