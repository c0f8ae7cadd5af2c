#include "ui/frmAbout.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>

#include "core/AppState.h"
#include "core/PoserRunning.h"
#include "core/TreePopulation.h"
#include "ui/FormColors.h"
#include "ui/HoverCursor.h"
#include "ui/SysInfo.h"
#include "ui/TwipLayout.h"

namespace bw {

namespace {

constexpr const char* kCopyright = "Copyright \u00A9 2026 the Brindlewood developers.";
constexpr const char* kContact =
    "Questions and comments are welcome at brindlewood@brindlewood.example";
constexpr const char* kWeb = "https://brindlewood.example/";

QLabel* AddLabel(QWidget& parent, const char* name, int left, int top, int width, int height) {
    auto* label = new QLabel(&parent);
    label->setObjectName(name);
    PlaceAt(*label, left, top, width, height);
    return label;
}

QPushButton* AddButton(QWidget& parent, const char* name, const char* caption, const char* tip,
                       int left, int top) {
    auto* button = new QPushButton(caption, &parent);
    button->setObjectName(name);
    button->setToolTip(tip);
    button->setAutoDefault(false);
    PlaceAt(*button, left, top, 1575, 495);
    return button;
}

}  // namespace

QString VersionLine() {
    // Numbers, not text, so the line never carries leading zeros.
    return QStringLiteral("Version %1.%2.%3")
        .arg(BRINDLEWOOD_VERSION_MAJOR)
        .arg(BRINDLEWOOD_VERSION_MINOR)
        .arg(BRINDLEWOOD_VERSION_PATCH);
}

frmAbout::frmAbout(AppState& app, QWidget* owner, bool poserRunning)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      app_(app) {
    setObjectName("frmAbout");
    setFixedSize(Px(5805), Px(3960));
    BuildControls();
    startSysInfo = [this] { StartSysInfo(app_.desktop); };

    setWindowTitle(QStringLiteral("About ") + kAppTitle);
    lblTitle->setText(kAppTitle);
    lblVersion->setText(VersionLine());
    lblDisclaimer->setText(QString::fromUtf8(kCopyright) + "\n" + kContact + "\n" + kWeb);
    ApplyFormColors(*this, app.settings, app.desktop, &app.fs->driveMap());
    ShowPoserStatus(poserRunning);
    InstallHoverCursor(*this);

    // The hover cursor puts the normal cursor back on every click before these run.
    connect(cmdOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdSysInfo, &QPushButton::clicked, this, [this] {
        if (startSysInfo) startSysInfo();
    });
}

void frmAbout::BuildControls() {
    const QFont heading =
        NearestFont({"Comic Sans MS", "Comic Neue", "Comic Relief", "DejaVu Sans"},
                    QFont::SansSerif, 15.75, true);
    lblTitle = AddLabel(*this, "lblTitle", 240, 120, 5325, 480);
    lblVersion = AddLabel(*this, "lblVersion", 240, 600, 5325, 465);
    for (QLabel* l : {lblTitle, lblVersion}) {
        l->setFont(heading);
        l->setAlignment(Qt::AlignCenter);
    }
    Line2 = AddLine(*this, "Line2", 120, 1080, 5640, 1080);
    lblPoser = AddLabel(*this, "lblPoser", 240, 1200, 5055, 255);
    lblSafetoDelete = AddLabel(*this, "lblSafetoDelete", 240, 1440, 5055, 255);
    Line1 = AddLine(*this, "Line1", 120, 1800, 5640, 1800);
    lblDisclaimer = AddLabel(*this, "lblDisclaimer", 240, 1920, 5310, 1305);
    lblDisclaimer->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblDisclaimer->setWordWrap(true);

    cmdSysInfo = AddButton(*this, "cmdSysInfo", "System &Info",
                           "Display the system information for this PC.", 360, 3240);
    cmdOk = AddButton(*this, "cmdOk", "Exit", "Exit this screen.", 3840, 3240);
    shpSysInfo = AddButtonShadow(*this, *cmdSysInfo, "shpSysInfo");
    shpOK = AddButtonShadow(*this, *cmdOk, "shpOK");
}

void frmAbout::ShowPoserStatus(bool poserRunning) {
    lblPoser->setText(QStringLiteral("Poser status: ") +
                      (poserRunning ? "open in background." : "closed."));
    lblSafetoDelete->setText(QStringLiteral("It is ") + (poserRunning ? "NOT " : "") +
                             "safe to delete Poser object files.");
    if (!poserRunning) return;
    // Runs after the scheme so the warning keeps its opaque red over a transparent label.
    for (QLabel* l : {lblPoser, lblSafetoDelete}) {
        QPalette p = l->palette();
        p.setColor(QPalette::Window, QColor(255, 0, 0));
        l->setPalette(p);
        l->setAutoFillBackground(true);
        l->setStyleSheet(QStringLiteral("background-color: rgb(255, 0, 0);"));
    }
}

void ShowAbout(AppState& app, QWidget* owner) {
    frmAbout box(app, owner, IsPoserRunning(app));
    CenterOnScreen(box);
    box.exec();
}

}  // namespace bw
