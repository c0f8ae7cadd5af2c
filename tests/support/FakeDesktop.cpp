#include "support/FakeDesktop.h"

namespace bw::test {

int FakeDesktop::ShowMsgBox(const std::string& prompt, int style, const std::string& title) {
    msgBoxes.push_back({prompt, style, title});
    if (msgAnswers.empty()) return answer::kOK;
    int a = msgAnswers.front();
    msgAnswers.pop_front();
    return a;
}

std::string FakeDesktop::ShowInputBox(const std::string& prompt, int style, const std::string& title,
                                      const std::string&) {
    inputBoxes.push_back({prompt, style, title});
    if (inputAnswers.empty()) return {};
    std::string a = inputAnswers.front();
    inputAnswers.pop_front();
    return a;
}

void FakeDesktop::ShowSystemMessage(const std::string& prompt, const std::string& title) {
    systemMessages.push_back({prompt, 0, title});
}

void FakeDesktop::DoEvents() {
    ++doEventsCalls;
    if (onDoEvents) onDoEvents();
}

std::string FakeDesktop::ChooseSaveFile(const std::string& title, const std::string&) {
    chooserTitles.push_back(title);
    if (saveFileAnswers.empty()) return {};
    std::string a = saveFileAnswers.front();
    saveFileAnswers.pop_front();
    return a;
}

std::string FakeDesktop::ChooseFolder(const std::string& title) {
    chooserTitles.push_back(title);
    if (folderAnswers.empty()) return {};
    std::string a = folderAnswers.front();
    folderAnswers.pop_front();
    return a;
}

}  // namespace bw::test
