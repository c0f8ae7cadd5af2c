#pragma once

#include <QApplication>

#include "core/EventTrap.h"

namespace bw {

// The program's QApplication: every event is delivered through an EventTrap, so an exception
// escaping a handler is reported instead of ending the program.
class Application : public QApplication {
  public:
    Application(int& argc, char** argv);

    // Where escaped exceptions are reported (the main window); null before it exists and after.
    void SetReporter(Desktop* desktop) { trap_.SetReporter(desktop); }

    bool notify(QObject* receiver, QEvent* event) override;

  private:
    EventTrap trap_;
};

// Names the program and gives every window its icon.
void SetUpApplication(QApplication& application);

}  // namespace bw
