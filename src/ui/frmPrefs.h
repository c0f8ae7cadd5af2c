#pragma once

#include <QDialog>

#include "core/PrefsLogic.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace bw {

class AppState;

// The Preferences dialog: the Runtime folder and the behaviour switches.
class frmPrefs : public QDialog {
    Q_OBJECT
  public:
    frmPrefs(AppState& app, QWidget* owner);

  protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;  // Esc goes through the same question as the close control

  private:
    QLabel* AddLabel(const char* name, const char* text, const QRect& where);
    QCheckBox* AddCheck(const char* name, const char* text, const char* tip, const QRect& where);
    QWidget* AddShape(const char* name, const QRect& where, bool shadow);
    QPushButton* AddButton(const char* name, const char* text, const char* tip, const QRect& where);
    void LoadValues();
    PrefsValues Values() const;
    void OnSave();
    // True when the dialog may close (after saving, or discarding, as the user chose).
    bool MayClose();

    AppState& app_;
    PrefsLogic logic_;
    bool loading_ = false;
    bool closing_ = false;
    QLineEdit* txtPoserFolder_ = nullptr;
    QPushButton* cmdPoserFolder_ = nullptr;
    QCheckBox* chkStartinLastFolder_ = nullptr;
    QCheckBox* chkShowRelPathName_ = nullptr;
    QCheckBox* chkProtectSystemFilesFolders_ = nullptr;
    QCheckBox* chkConfirmDelete_ = nullptr;
    QCheckBox* chkBackUpFigure_ = nullptr;
    QRadioButton* optMoveToRecycle_ = nullptr;
    QRadioButton* optDelete_ = nullptr;
    QPushButton* cmdSave_ = nullptr;
    QPushButton* cmdCancel_ = nullptr;
};

// Shows the Preferences dialog modally over `owner`.
void ShowPreferences(AppState& app, QWidget* owner);

}  // namespace bw
