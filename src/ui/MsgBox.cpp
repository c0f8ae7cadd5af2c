#include "ui/MsgBox.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QScreen>

#include "core/Desktop.h"
#include "core/Settings.h"
#include "ui/FormColors.h"
#include "ui/frmInputBox.h"
#include "ui/frmMsgBox.h"

namespace bw {

namespace {

// The window a box belongs to: the active one, else the main window. A box with an owner stays
// above it and out of the task bar.
QWidget* BoxParent() {
    if (QWidget* active = QApplication::activeWindow()) return active;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->objectName() == QLatin1String("frmMain") && w->isVisible()) return w;
    }
    return nullptr;
}

// Reports for a box opened without the program's Desktop: the boxes themselves, and the
// system's message box for the rest.
class BoxDesktop : public Desktop {
  public:
    explicit BoxDesktop(const Settings& settings) : settings_(settings) {}
    int ShowMsgBox(const std::string& prompt, int style, const std::string& title) override {
        return bw::ShowMsgBox(prompt, style, title, settings_, this);
    }
    std::string ShowInputBox(const std::string& prompt, int style, const std::string& title,
                             const std::string& defaultText) override {
        return bw::ShowInputBox(prompt, style, title, defaultText, settings_, BoxParent(), this);
    }
    void ShowSystemMessage(const std::string& prompt, const std::string& title) override {
        QMessageBox::information(BoxParent(), QString::fromStdString(title),
                                 QString::fromStdString(prompt));
    }
    void SetCaption(const std::string&) override {}
    std::string Caption() const override { return {}; }
    void SetBusy(bool) override {}
    void DoEvents() override {}

  private:
    const Settings& settings_;
};

QRect ScreenArea(const QWidget* near) {
    QScreen* screen = near ? near->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

}  // namespace

int ShowMsgBox(const std::string& prompt, int style, const std::string& title,
               const Settings& settings, Desktop* desktop, const DriveMap* drives) {
    BoxDesktop fallback(settings);
    QPointer<frmMsgBox> box = new frmMsgBox(BoxParent());
    ApplyFormColors(*box, settings, desktop ? *desktop : fallback, drives);
    box->Prepare(prompt, style, title);
    box->CentreOn(ScreenArea(box->parentWidget()));
    // The box goes with its parent should that be destroyed while it is open.
    box->exec();
    if (!box) return 2;
    const int answer = box->MsgBoxAnswer();
    delete box;
    return answer;
}

std::string ShowInputBox(const std::string& prompt, int style, const std::string& title,
                         const std::string& defaultText, const Settings& settings, QWidget* owner,
                         Desktop* desktop, const DriveMap* drives) {
    BoxDesktop fallback(settings);
    QPointer<frmInputBox> box = new frmInputBox(owner ? owner : BoxParent());
    ApplyFormColors(*box, settings, desktop ? *desktop : fallback, drives);
    box->Prepare(prompt, style, title, defaultText);
    if (owner) {
        box->CentreOn(owner->frameGeometry());
    } else {
        box->CentreOn(ScreenArea(nullptr));
    }
    box->exec();
    if (!box) return {};
    std::string answer = box->InputBoxAnswer();
    delete box;
    return answer;
}

}  // namespace bw
