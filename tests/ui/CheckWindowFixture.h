#pragma once

#include <QComboBox>
#include <QLineEdit>

#include "support/WindowFixture.h"
#include "ui/frmCheck.h"

namespace bw::test {

class CheckWindowFixture : public WindowFixture {
  protected:
    // Tools > Check Library, repairs journalled in C:\journal; the report window it opened.
    frmCheck* OpenCheck() {
        window->journalRoot = c.host("journal");
        Cmd("mnuCheckLibrary")->trigger();
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* f = qobject_cast<frmCheck*>(w)) return f;
        return nullptr;
    }
    // Runs the event loop until the check has finished; false when it takes too long.
    static bool Finish(frmCheck* f) {
        return WaitFor([f] { return !f->running(); }, 60000);
    }
    // Lists the rows of the status named by its caption that hold `text`.
    static void Show(frmCheck* f, const char* caption, const char* text = "") {
        f->cboStatus->setCurrentIndex(f->cboStatus->findText(caption));
        f->txtFilter->setText(text);
    }
};

}  // namespace bw::test
