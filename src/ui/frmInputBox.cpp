#include "ui/frmInputBox.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "ui/HoverCursor.h"
#include "ui/MsgBoxPictures.h"
#include "ui/Shape.h"
#include "ui/Twips.h"

namespace bw {

frmInputBox::frmInputBox(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint) {
    setObjectName("frmInputBox");
    setFixedSize(Px(5400), Px(2205));
    setSizeGripEnabled(false);

    lblMsgText = AddPromptLabel(this, 4095);

    txtReason = new QLineEdit(this);
    txtReason->setObjectName("txtReason");
    txtReason->setGeometry(TwipsRect(360, 1200, 4695, 285));

    cmdOK = new QPushButton("OK", this);
    cmdOK->setObjectName("cmdOK");
    cmdOK->setGeometry(TwipsRect(720, 1680, 1215, 375));
    // Enter anywhere but on Cancel is OK, the text field included.
    cmdOK->setDefault(true);
    cmdCancel = new QPushButton("Cancel", this);
    cmdCancel->setObjectName("cmdCancel");
    cmdCancel->setGeometry(TwipsRect(3480, 1680, 1215, 375));
    shpOK = AttachShadow(*cmdOK, "shpOK");
    shpCancel = AttachShadow(*cmdCancel, "shpCancel");
    setTabOrder(txtReason, cmdOK);
    setTabOrder(cmdOK, cmdCancel);

    pctTalk = AddPictureBox(this, "pctTalk", TalkPicture());
    pctAlert = AddPictureBox(this, "pctAlert", AlertPicture());
    pctTalk->hide();
    pctAlert->hide();

    connect(cmdOK, &QPushButton::clicked, this, [this] {
        answer_ = txtReason->text().toStdString();
        accept();
    });
    connect(cmdCancel, &QPushButton::clicked, this, [this] {
        answer_.clear();
        reject();
    });
    InstallHoverCursor(*this);
    txtReason->setFocus();
}

void frmInputBox::Prepare(const std::string& prompt, int style, const std::string& title,
                          const std::string& defaultText) {
    answer_.clear();
    setWindowTitle(QString::fromStdString(title));
    lblMsgText->setText(QString::fromStdString(prompt));
    txtReason->setText(QString::fromStdString(defaultText));
    pctTalk->setVisible(style == 64);
    pctAlert->setVisible(style == 16);
}

void frmInputBox::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (centreArea_.isValid()) CentreOn(centreArea_);
}

void frmInputBox::CentreOn(const QRect& area) {
    centreArea_ = area;
    const QSize frame = frameGeometry().size();
    move(area.center() - QPoint(frame.width() / 2, frame.height() / 2));
}

}  // namespace bw
