#include "ui/frmMsgBox.h"

#include <QLabel>
#include <QPushButton>
#include <initializer_list>
#include <vector>

#include "ui/HoverCursor.h"
#include "ui/MsgBoxPictures.h"
#include "ui/Shape.h"
#include "ui/Twips.h"

namespace bw {

namespace {

constexpr double kButtonTop = 1200;
constexpr double kButtonWidth = 1215;
constexpr double kButtonHeight = 375;
constexpr double kButtonGap = 225;
constexpr double kPictureLeft = 360;
constexpr double kPictureTop = 360;

enum class Buttons { None, OK, OKCancel, YesNo, YesNoCancel };

struct StyleLook {
    Buttons buttons = Buttons::None;
    int picture = -1;  // 0 talk, 1 alert, 2 hand
};

// The twelve recognised styles: a button set plus a picture flag (0 talk, 16 hand, 64 alert).
StyleLook LookOf(int style) {
    int picture;
    switch (style & ~0x0F) {
        case 0:
            picture = 0;
            break;
        case 16:
            picture = 2;
            break;
        case 64:
            picture = 1;
            break;
        default:
            return {};
    }
    switch (style & 0x0F) {
        case 0:
            return {Buttons::OK, picture};
        case 1:
            return {Buttons::OKCancel, picture};
        case 3:
            return {Buttons::YesNoCancel, picture};
        case 4:
            return {Buttons::YesNo, picture};
        default:
            return {};
    }
}

}  // namespace

frmMsgBox::frmMsgBox(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint) {
    setObjectName("frmMsgBox");
    setFixedSize(Px(5670), Px(1770));
    setSizeGripEnabled(false);

    lblMsgText = AddPromptLabel(this, 4575);

    cmdOK = AddButton("cmdOK", "OK", 360, 1);
    cmdYes = AddButton("cmdYes", "&Yes", 1680, 6);
    cmdNo = AddButton("cmdNo", "&No", 3000, 7);
    cmdCancel = AddButton("cmdCancel", "Cancel", 4320, 2);
    shpOK = AttachShadow(*cmdOK, "shpOK");
    shpYes = AttachShadow(*cmdYes, "shpYes");
    shpNo = AttachShadow(*cmdNo, "shpNo");
    shpCancel = AttachShadow(*cmdCancel, "shpCancel");
    setTabOrder(cmdOK, cmdYes);
    setTabOrder(cmdYes, cmdNo);
    setTabOrder(cmdNo, cmdCancel);

    pctTalk = AddPictureBox(this, "pctTalk", TalkPicture());
    pctAlert = AddPictureBox(this, "pctAlert", AlertPicture());
    pctHand = AddPictureBox(this, "pctHand", HandPicture());

    InstallHoverCursor(*this);
}

QPushButton* frmMsgBox::AddButton(const char* name, const QString& caption, double left,
                                  int answer) {
    auto* button = new QPushButton(caption, this);
    button->setObjectName(name);
    button->setGeometry(TwipsRect(left, kButtonTop, kButtonWidth, kButtonHeight));
    connect(button, &QPushButton::clicked, this, [this, answer] {
        answer_ = answer;
        accept();
    });
    return button;
}

void frmMsgBox::Prepare(const std::string& prompt, int style, const std::string& title) {
    answer_ = 0;
    for (QWidget* w : std::initializer_list<QWidget*>{pctTalk, pctAlert, pctHand, cmdOK, cmdYes,
                                                      cmdNo, cmdCancel}) {
        w->hide();
    }
    setWindowTitle(QString::fromStdString(title));
    lblMsgText->setText(QString::fromStdString(prompt));

    style_ = style;
    const StyleLook look = LookOf(style);
    if (look.buttons == Buttons::None) return;
    PlaceButtons();
    QLabel* picture = look.picture == 0 ? pctTalk : look.picture == 1 ? pctAlert : pctHand;
    picture->move(Px(kPictureLeft), Px(kPictureTop));
    picture->show();
}

double frmMsgBox::OverallWidthTwips() const {
    // The frame is known only once a window manager has framed the shown window; until then,
    // and where nothing frames it, the overall width is the client width.
    return Twips(std::max(frameGeometry().width(), width()));
}

void frmMsgBox::PlaceButtons() {
    const StyleLook look = LookOf(style_);
    std::vector<QPushButton*> row;
    const double f = OverallWidthTwips();
    const double w = kButtonWidth;
    double left = 0;
    switch (look.buttons) {
        case Buttons::None:
            return;
        case Buttons::OK:
            row = {cmdOK};
            left = f / 2 - w / 2;
            break;
        case Buttons::OKCancel:
            row = {cmdOK, cmdCancel};
            left = f / 2 - (w - 112.5);
            break;
        case Buttons::YesNo:
            row = {cmdYes, cmdNo};
            // With the hand or alert picture the pair is centred; with the talk picture it sits
            // 225 twips further right, as the boxes have always looked.
            left = (style_ & 0x0F) == style_ ? f / 2 - (w - 112.5) : f / 2 - w - 112.5;
            break;
        case Buttons::YesNoCancel:
            row = {cmdYes, cmdNo, cmdCancel};
            left = f / 3 - (w - 75);
            break;
    }
    for (QPushButton* button : row) {
        button->move(Px(left), Px(kButtonTop));
        button->show();
        left += w + kButtonGap;
    }
    row.front()->setFocus();
}

void frmMsgBox::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    PlaceButtons();
    if (centreArea_.isValid()) CentreOn(centreArea_);
}

void frmMsgBox::done(int result) {
    // The close control and Esc leave no answer of their own: they count as Cancel.
    if (answer_ == 0) answer_ = 2;
    QDialog::done(result);
}

void frmMsgBox::CentreOn(const QRect& area) {
    centreArea_ = area;
    const QSize frame = frameGeometry().size();
    move(area.center() - QPoint(frame.width() / 2, frame.height() / 2));
}

}  // namespace bw
