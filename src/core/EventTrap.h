#pragma once

#include <functional>
#include <string>

namespace bw {

class Desktop;

// Keeps exceptions from leaving an event handler, where they would end the program: each
// std::exception that escapes is reported through ReportError and the event counts as not handled.
class EventTrap {
  public:
    // Where reports go; with none, they go to the standard error stream.
    void SetReporter(Desktop* desktop) { reporter_ = desktop; }

    // Runs one event delivery; its result, or false when an exception escaped it. `where` names
    // the window that received the event. A failure while an earlier one is being reported (its
    // box runs events too) is dropped, so one faulty handler cannot stack boxes without end.
    bool Run(const std::function<bool()>& deliver, const std::string& where);

  private:
    void Report(int number, const std::string& description, const std::string& where);

    Desktop* reporter_ = nullptr;
    bool reporting_ = false;
};

}  // namespace bw
