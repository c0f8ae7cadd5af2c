#pragma once

#include <string>

namespace bw {

class Desktop;
class PlatformError;

// The one error reporter: 70 and 76 as plain messages in the program's own box, every other
// number with its description and the procedure's name in the system's message box.
void ReportError(Desktop& desktop, int number, const std::string& description,
                 const std::string& procedureName);
void ReportError(Desktop& desktop, const PlatformError& error, const std::string& procedureName);

// The texts it shows, for tests and for callers that need them.
inline constexpr const char* kSecurityMessage =
    "This task can not be completed. Please check your security permissions and try again.";
inline constexpr const char* kDriveMessage =
    "The drive is not ready. Please insert a disk and try again.";
inline constexpr const char* kFileSystemErrorTitle = "File System Error";
std::string GenericErrorText(int number, const std::string& description,
                             const std::string& procedureName);

}  // namespace bw
