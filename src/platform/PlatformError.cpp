#include "platform/PlatformError.h"

#include <cerrno>

namespace bw {

PlatformError::PlatformError(int number, std::string description)
    : std::runtime_error(description), number_(number), description_(std::move(description)) {}

PlatformError PlatformError::FromNumber(int number) {
    return PlatformError(number, DescriptionOf(number));
}

PlatformError PlatformError::FromErrno(int errnoValue) {
    return FromNumber(ErrorNumberForErrno(errnoValue));
}

std::string DescriptionOf(int number) {
    switch (number) {
        case err::kInvalidCall:
            return "Invalid procedure call or argument";
        case err::kBadFileName:
            return "Bad file name or number";
        case err::kFileNotFound:
            return "File not found";
        case err::kDeviceIO:
            return "Device I/O error";
        case err::kFileAlreadyExists:
            return "File already exists";
        case err::kDiskFull:
            return "Disk full";
        case err::kPermissionDenied:
            return "Permission denied";
        case err::kRenameAcrossDrives:
            return "Can't rename with different drive";
        case err::kPathFileAccess:
            return "Path/File access error";
        case err::kPathNotFound:
            return "Path not found";
        case err::kObjectNotSet:
            return "Object variable or With block variable not set";
        default:
            return "Application-defined or object-defined error";
    }
}

int ErrorNumberForErrno(int e) {
    switch (e) {
        case EACCES:
        case EPERM:
        case EROFS:
        case ETXTBSY:
            return err::kPermissionDenied;
        case ENOENT:
            return err::kFileNotFound;
        case ENOTDIR:
        case ENODEV:
        case ENXIO:
            return err::kPathNotFound;
        case EEXIST:
        case ENOTEMPTY:
            return err::kFileAlreadyExists;
        case ENOSPC:
        case EDQUOT:
            return err::kDiskFull;
        case EIO:
            return err::kDeviceIO;
        case EXDEV:
            return err::kRenameAcrossDrives;
        case ENAMETOOLONG:
        case EINVAL:
            return err::kBadFileName;
        default:
            return err::kPathFileAccess;
    }
}

}  // namespace bw
