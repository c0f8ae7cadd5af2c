#pragma once

#include <string>

namespace bw {

class Node;

// Answers of the program's own message box.
namespace answer {
inline constexpr int kOK = 1;
inline constexpr int kCancel = 2;
inline constexpr int kYes = 6;
inline constexpr int kNo = 7;
}  // namespace answer

// Styles of the program's own message box: a button set plus a picture flag.
namespace style {
inline constexpr int kOKOnly = 0;
inline constexpr int kOKCancel = 1;
inline constexpr int kYesNoCancel = 3;
inline constexpr int kYesNo = 4;
inline constexpr int kHand = 16;
inline constexpr int kAlert = 64;
}  // namespace style

// What the core needs of the windows. The Qt main window implements it; tests use a scripted fake.
class Desktop {
  public:
    virtual ~Desktop() = default;

    // The program's own message box; answers 1 OK, 2 Cancel or closed, 6 Yes, 7 No.
    virtual int ShowMsgBox(const std::string& prompt, int style, const std::string& title) = 0;
    // The program's own input box; the typed text untrimmed, or empty on Cancel.
    virtual std::string ShowInputBox(const std::string& prompt, int style, const std::string& title,
                                     const std::string& defaultText) = 0;
    // The system's own message box with an OK button.
    virtual void ShowSystemMessage(const std::string& prompt, const std::string& title) = 0;

    // The main window's caption.
    virtual void SetCaption(const std::string& caption) = 0;
    virtual std::string Caption() const = 0;
    // The wait cursor on or off.
    virtual void SetBusy(bool busy) = 0;
    // Lets pending window events run; throttled, so it is cheap to call per line.
    virtual void DoEvents() = 0;

    // Save-file chooser; the chosen host path, or empty when cancelled.
    virtual std::string ChooseSaveFile(const std::string& title, const std::string& filter) {
        (void)title, (void)filter;
        return {};
    }
    // Folder chooser; the chosen host path, or empty when cancelled.
    virtual std::string ChooseFolder(const std::string& title) {
        (void)title;
        return {};
    }

    // The availability, tooltips or captions of the commands changed (AppState::commands).
    virtual void CommandsChanged() {}
    // Pops up the Edit menu at the mouse position.
    virtual void PopupEditMenu() {}
    // Scrolls the tree so the node can be seen.
    virtual void EnsureVisible(Node* node) { (void)node; }

    // Scan panel of the reverse scan: shown with its caption, status line and progress (0..1).
    virtual void SetScanMode(bool scanning) { (void)scanning; }
    virtual void SetScanCaption(const std::string& caption) { (void)caption; }
    virtual void SetScanStatus(const std::string& status) { (void)status; }
    virtual void SetScanProgress(double fraction) { (void)fraction; }
};

}  // namespace bw
