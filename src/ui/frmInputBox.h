#pragma once

#include <QDialog>
#include <string>

class QLabel;
class QLineEdit;
class QPushButton;

namespace bw {

class Shape;

// The program's input box: a prompt, one line of text, OK and Cancel. Show it with exec();
// InputBoxAnswer() then holds the text as typed, or the empty text when cancelled or closed.
class frmInputBox : public QDialog {
    Q_OBJECT
  public:
    explicit frmInputBox(QWidget* parent = nullptr);

    // Title, prompt, default text and the picture of the style (64 talk, 16 alert).
    void Prepare(const std::string& prompt, int style, const std::string& title,
                 const std::string& defaultText);
    const std::string& InputBoxAnswer() const { return answer_; }

    // Centres the framed window on the area now, and again once it is shown and its frame known.
    void CentreOn(const QRect& area);

    QLabel* lblMsgText = nullptr;
    QLineEdit* txtReason = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;
    Shape* shpOK = nullptr;
    Shape* shpCancel = nullptr;
    QLabel* pctTalk = nullptr;
    QLabel* pctAlert = nullptr;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    std::string answer_;
    QRect centreArea_;
};

}  // namespace bw
