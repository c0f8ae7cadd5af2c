#pragma once

#include <QDialog>
#include <functional>

class QFrame;
class QLabel;
class QPushButton;

namespace bw {

class AppState;

// The About box: title, version, whether Poser is running, copyright and contact, System Info.
class frmAbout : public QDialog {
    Q_OBJECT
  public:
    // Loads the box over `owner`; `poserRunning` is asked once, here.
    frmAbout(AppState& app, QWidget* owner, bool poserRunning);

    QLabel* lblTitle;
    QLabel* lblVersion;
    QFrame* Line2;
    QLabel* lblPoser;
    QLabel* lblSafetoDelete;
    QFrame* Line1;
    QLabel* lblDisclaimer;
    QPushButton* cmdSysInfo;
    QPushButton* cmdOk;
    QFrame* shpSysInfo;
    QFrame* shpOK;

    // What System Info does; replaceable so tests need not start programs.
    std::function<void()> startSysInfo;

  private:
    void BuildControls();
    void ShowPoserStatus(bool poserRunning);

    AppState& app_;
};

// "Version " and the program's major.minor.revision, without leading zeros.
QString VersionLine();

// The About box, modal.
void ShowAbout(AppState& app, QWidget* owner);

}  // namespace bw
