#pragma once

#include <QDialog>
#include <string>

class QLabel;
class QPushButton;

namespace bw {

class Shape;

// The program's message box: a prompt, one to three answer buttons with shadows and a picture.
// Show it with exec(); MsgBoxAnswer() then tells how it was closed.
class frmMsgBox : public QDialog {
    Q_OBJECT
  public:
    explicit frmMsgBox(QWidget* parent = nullptr);

    // Title, prompt, and the buttons and picture of the style; an unrecognised style shows none.
    void Prepare(const std::string& prompt, int style, const std::string& title);
    // 1 OK, 2 Cancel or the close control, 6 Yes, 7 No; 0 while the box is open.
    int MsgBoxAnswer() const { return answer_; }

    // The overall window width, frame included, in twips: what the button row is placed by.
    double OverallWidthTwips() const;

    // Centres the framed window on the area now, and again once it is shown and its frame known.
    void CentreOn(const QRect& area);

    QLabel* lblMsgText = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdYes = nullptr;
    QPushButton* cmdNo = nullptr;
    QPushButton* cmdCancel = nullptr;
    Shape* shpOK = nullptr;
    Shape* shpYes = nullptr;
    Shape* shpNo = nullptr;
    Shape* shpCancel = nullptr;
    QLabel* pctTalk = nullptr;
    QLabel* pctAlert = nullptr;
    QLabel* pctHand = nullptr;

  public slots:
    void done(int result) override;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    QPushButton* AddButton(const char* name, const QString& caption, double left, int answer);
    void PlaceButtons();

    QRect centreArea_;
    int style_ = -1;
    int answer_ = 0;
};

}  // namespace bw
