#pragma once

#include <stdexcept>
#include <string>

namespace bw {

// The classic run-time error numbers that the program reports and tests for.
namespace err {
inline constexpr int kInvalidCall = 5;
inline constexpr int kBadFileName = 52;
inline constexpr int kFileNotFound = 53;
inline constexpr int kDeviceIO = 57;
inline constexpr int kFileAlreadyExists = 58;
inline constexpr int kDiskFull = 61;
inline constexpr int kPermissionDenied = 70;
inline constexpr int kRenameAcrossDrives = 74;
inline constexpr int kPathFileAccess = 75;
inline constexpr int kPathNotFound = 76;
inline constexpr int kObjectNotSet = 91;
}  // namespace err

// A failed platform call: one exception type carrying the classic error number and description.
class PlatformError : public std::runtime_error {
  public:
    PlatformError(int number, std::string description);

    // The error for a classic number, with its standard description.
    static PlatformError FromNumber(int number);
    // The error for a failed POSIX call; `errnoValue` is the saved errno.
    static PlatformError FromErrno(int errnoValue);

    int number() const { return number_; }
    const std::string& description() const { return description_; }

  private:
    int number_;
    std::string description_;
};

// The standard description of a classic error number ("File not found" for 53).
std::string DescriptionOf(int number);

// Maps a POSIX errno to the classic number (EACCES -> 70, ENOENT -> 53 ...).
int ErrorNumberForErrno(int errnoValue);

}  // namespace bw
