#include "fileops/PrintContentOfNode.h"

#include "core/AppState.h"
#include "core/Desktop.h"
#include "core/ReportError.h"
#include "fileops/PrintThisFolderToFile.h"
#include "platform/PlatformError.h"

namespace bw {

void WriteFolderListing(AppState& app, const std::string& folder, const std::string& header,
                        const std::string& outputPath) {
    // Built in memory and written at once: a listing of a whole drive is many thousand lines.
    std::string out;
    out.reserve(1 << 16);
    out.append("Folder Listing for: ").append(header).append("\r\n\r\n");
    PrintThisFolderToFile(app, folder, out);
    app.fs->WriteFile(outputPath, out);
}

void PrintContentOfNode(AppState& app) {
    Node* node = app.CurrentNode.get();
    if (!node) return;
    const std::string text = node->text();
    const std::string path = node->FullPath();
    // A drive's path ("C:") names its root folder as "C:\".
    const std::string folder = path + "\\";
    const std::string chosen =
        app.desktop.ChooseSaveFile("Save Listing As...", "Text File (*.txt)|*.txt");
    if (chosen.empty()) return;
    app.desktop.SetBusy(true);
    try {
        // The file is written where it was chosen, under the name as typed; a name holding a "\"
        // has no Windows path that would not name another file.
        if (!app.fs->driveMap().CanNameHostPath(chosen))
            throw PlatformError::FromNumber(err::kBadFileName);
        WriteFolderListing(app, folder, path, app.fs->WindowsPath(chosen));
    } catch (const PlatformError& e) {
        app.desktop.SetBusy(false);
        ReportError(app.desktop, e, "PrintContentOfNode: " + text);
        return;
    }
    app.desktop.SetBusy(false);
}

}  // namespace bw
