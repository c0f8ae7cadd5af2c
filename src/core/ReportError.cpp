#include "core/ReportError.h"

#include "core/Desktop.h"
#include "platform/PlatformError.h"

namespace bw {

std::string GenericErrorText(int number, const std::string& description,
                             const std::string& procedureName) {
    return "An error, " + std::to_string(number) + ": '" + description + "' has occurred in " +
           procedureName + ".";
}

void ReportError(Desktop& desktop, int number, const std::string& description,
                 const std::string& procedureName) {
    if (number == err::kPermissionDenied) {
        desktop.ShowMsgBox(kSecurityMessage, style::kOKOnly, kFileSystemErrorTitle);
    } else if (number == err::kPathNotFound) {
        desktop.ShowMsgBox(kDriveMessage, style::kOKOnly, kFileSystemErrorTitle);
    } else {
        desktop.ShowSystemMessage(GenericErrorText(number, description, procedureName), "Notice");
    }
}

void ReportError(Desktop& desktop, const PlatformError& error, const std::string& procedureName) {
    ReportError(desktop, error.number(), error.description(), procedureName);
}

}  // namespace bw
