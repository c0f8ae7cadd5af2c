#pragma once

#include <string>

namespace bw {

class AppState;

// What the Preferences dialog shows.
struct PrefsValues {
    std::string poserFolder;
    bool startInLastFolder = false;
    bool showRelPathName = false;
    bool protectSystemFilesFolders = true;
    bool confirmDelete = true;
    bool backUpFigure = true;
    bool moveToRecycle = true;
};

// The Preferences dialog's behaviour without its widgets: what it loads, asks, keeps and saves.
class PrefsLogic {
  public:
    explicit PrefsLogic(AppState& app) : app_(app) {}

    // The values to show, from the in-memory settings; clears the changed flag.
    PrefsValues Load();
    // The folder browser flow: asks again while the folder is not named "runtime" and the user
    // answers No. Returns the folder text to show; a chosen folder becomes Runtime at once.
    std::string BrowseForRuntime(const std::string& currentText);
    // The protection box was clicked; answers whether it must be checked now (turning it off
    // needs a Yes to the warning).
    bool ProtectClicked(bool nowChecked);
    void StartInLastFolderClicked() { changed_ = true; }
    // The deletion choice takes effect in memory at once, without counting as a change.
    void MoveFileChosen(bool toRecycle);
    // Writes Runtime and the five switches and confirms; false (reported) when writing failed.
    bool Save(const PrefsValues& values);

    enum class CloseDecision { Close, Save, Stay };
    // Closing: without changes at once; otherwise the user chooses to save, discard or stay.
    CloseDecision AskBeforeClose();

    bool changed() const { return changed_; }

  private:
    AppState& app_;
    bool changed_ = false;
};

}  // namespace bw
