#include "core/PrefsLogic.h"

#include "core/AppState.h"
#include "core/Desktop.h"
#include "core/ReportError.h"
#include "platform/PlatformError.h"
#include "platform/Profile.h"
#include "platform/Text.h"

namespace bw {

namespace {
constexpr size_t kMaxPath = 260;
}

PrefsValues PrefsLogic::Load() {
    const Settings& s = app_.settings;
    changed_ = false;
    return {s.Runtime,       s.StartInLastFolder, s.UseRelPathName, s.ProtectSystemFilesFolders,
            s.ConfirmDelete, s.BackUpFigure,      s.MoveFile};
}

std::string PrefsLogic::BrowseForRuntime(const std::string& currentText) {
    std::string text = currentText;
    for (;;) {
        const std::string host =
            app_.desktop.ChooseFolder("Please locate your Poser4\\Runtime folder.");
        if (!host.empty()) {
            text = app_.fs->WindowsPath(host);
            if (auto nul = text.find('\0'); nul != std::string::npos) text.resize(nul);
            if (text.size() > kMaxPath) text.resize(kMaxPath);
            app_.settings.Runtime = text;
        }
        if (AsciiLower(text).find("runtime") != std::string::npos) break;
        const int answer = app_.desktop.ShowMsgBox(
            std::string("The Poser4\\Runtime has not been selected. Are you sure you want ") +
                "this folder?",
            style::kYesNo, "Notice");
        if (answer != answer::kNo) break;
    }
    changed_ = true;
    return text;
}

bool PrefsLogic::ProtectClicked(bool nowChecked) {
    bool checked = nowChecked;
    if (!nowChecked) {
        const std::string prompt = std::string("Note: You have chosen to turn protection OFF ") +
                                   "for the system files and folders. These are " +
                                   "very senstive- please " + "proceed with caution. " + "\r" +
                                   "Are you sure you want to do this?";
        if (app_.desktop.ShowMsgBox(prompt, style::kYesNo + style::kAlert, "Warning") ==
            answer::kNo)
            checked = true;
    }
    changed_ = true;
    return checked;
}

void PrefsLogic::MoveFileChosen(bool toRecycle) { app_.settings.MoveFile = toRecycle; }

bool PrefsLogic::Save(const PrefsValues& v) {
    Settings& s = app_.settings;
    try {
        const std::string ini = app_.fs->HostPath(s.iniPath);
        // Start-up reads the last Runtime line of the file, so that is the one to write.
        WritePrivateProfilePath("Folder", "Runtime", v.poserFolder, ini);
        const std::pair<const char*, std::pair<bool, bool*>> switches[] = {
            {"StartInLastFolder", {v.startInLastFolder, &s.StartInLastFolder}},
            {"UseRelPathName", {v.showRelPathName, &s.UseRelPathName}},
            {"ProtectSystemFilesFolders",
             {v.protectSystemFilesFolders, &s.ProtectSystemFilesFolders}},
            {"ConfirmDelete", {v.confirmDelete, &s.ConfirmDelete}},
            {"BackUpFigure", {v.backUpFigure, &s.BackUpFigure}},
        };
        for (const auto& [key, value] : switches) {
            WritePrivateProfileString("Folder", key, value.first ? "True" : "False", ini);
            *value.second = value.first;
        }
    } catch (const PlatformError& e) {
        ReportError(app_.desktop, e, "frmPrefs_cmdSave_Click");
        return false;
    }
    app_.desktop.ShowMsgBox("Your preferences have been saved.", style::kOKOnly, "Notice");
    changed_ = false;
    return true;
}

PrefsLogic::CloseDecision PrefsLogic::AskBeforeClose() {
    if (!changed_) return CloseDecision::Close;
    switch (app_.desktop.ShowMsgBox("You have changed the data. Do you want to save these changes?",
                                    style::kYesNoCancel, "Save changes?")) {
        case answer::kYes:
            return CloseDecision::Save;
        case answer::kNo:
            return CloseDecision::Close;
        default:
            return CloseDecision::Stay;
    }
}

}  // namespace bw
