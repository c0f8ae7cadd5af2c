#include "support/FakeDesktop.h"

namespace bw::test {

namespace {
// The next scripted answer, or `dry` once they ran out.
template <class T>
T Next(std::deque<T>& answers, T dry) {
    if (answers.empty()) return dry;
    T a = std::move(answers.front());
    answers.pop_front();
    return a;
}
}  // namespace

int FakeDesktop::ShowMsgBox(const std::string& prompt, int style, const std::string& title) {
    msgBoxes.push_back({prompt, style, title});
    return Next(msgAnswers, int(answer::kOK));
}

std::string FakeDesktop::ShowInputBox(const std::string& prompt, int style,
                                      const std::string& title, const std::string&) {
    inputBoxes.push_back({prompt, style, title});
    return Next(inputAnswers, std::string());
}

std::string FakeDesktop::ChooseSaveFile(const std::string& title, const std::string&) {
    chooserTitles.push_back(title);
    return Next(saveFileAnswers, std::string());
}

std::string FakeDesktop::ChooseFolder(const std::string& title) {
    chooserTitles.push_back(title);
    return Next(folderAnswers, std::string());
}

std::string FakeDesktop::Shown() const {
    std::string out;
    for (const auto& b : msgBoxes)
        out += b.title + "|" + std::to_string(b.style) + "|" + b.prompt + "\n";
    return out;
}

}  // namespace bw::test
