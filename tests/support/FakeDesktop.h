#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "core/Desktop.h"

namespace bw::test {

// A scripted Desktop: records every prompt and answers from queues (OK/empty when they run dry).
class FakeDesktop : public Desktop {
  public:
    struct Box {
        std::string prompt;
        int style = 0;
        std::string title;
    };

    int ShowMsgBox(const std::string& prompt, int style, const std::string& title) override;
    std::string ShowInputBox(const std::string& prompt, int style, const std::string& title,
                             const std::string& defaultText) override;
    void ShowSystemMessage(const std::string& prompt, const std::string& title) override {
        systemMessages.push_back({prompt, 0, title});
    }
    void SetCaption(const std::string& caption) override { caption_ = caption; }
    std::string Caption() const override { return caption_; }
    void SetBusy(bool busy) override { busy_ = busy; }
    void DoEvents() override {
        if (onDoEvents) onDoEvents();
    }
    std::string ChooseSaveFile(const std::string& title, const std::string& filter) override;
    std::string ChooseFolder(const std::string& title) override;
    void PopupEditMenu() override { ++popups; }
    void SetScanMode(bool scanning) override { scanModes.push_back(scanning); }
    void SetScanCaption(const std::string& c) override { scanCaption = c; }
    void SetScanStatus(const std::string& s) override { scanStatuses.push_back(s); }

    // Scripted answers.
    std::deque<int> msgAnswers;
    std::deque<std::string> inputAnswers, saveFileAnswers, folderAnswers;
    // Runs on every DoEvents call (to act "meanwhile", as a user would).
    std::function<void()> onDoEvents;

    // What was shown.
    std::vector<Box> msgBoxes, inputBoxes, systemMessages;
    std::vector<std::string> chooserTitles;
    std::vector<bool> scanModes;
    std::vector<std::string> scanStatuses;
    std::string scanCaption;
    int popups = 0;
    bool busy() const { return busy_; }
    // The message boxes shown so far, each as "title|style|prompt\n".
    std::string Shown() const;

  private:
    std::string caption_ = "Brindlewood";
    bool busy_ = false;
};

}  // namespace bw::test
