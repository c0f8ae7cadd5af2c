#pragma once

#include <QColor>
#include <QDialog>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

class QFrame;
class QLabel;
class QPushButton;

namespace bw {

class AppState;

// The colours dialog: eight scheme colours and the background pattern, saved to the settings
// file on request. Pattern changes take effect in memory at once; colours only on Save.
class frmColors : public QDialog {
    Q_OBJECT
  public:
    // Loads the dialog over `owner` from the in-memory scheme.
    frmColors(AppState& app, QWidget* owner);

    QLabel* lblMain;
    QFrame* Shape3;
    QFrame* Line1;
    std::array<QLabel*, 8> lblColor;  // lblBackColor ... lblUnknownFiles, in cmdColor order
    std::array<QPushButton*, 8> cmdColor;
    QPushButton* cmdPattern;
    QPushButton* cmdSave;
    QPushButton* cmdRevert;
    QPushButton* cmdCancel;
    std::array<QFrame*, 8> shpColor;
    QFrame* shpPattern;
    QFrame* shpSave;
    QFrame* shpRevert;
    QFrame* shpCancel;
    QLabel* lblOldBackPattern;

    // True once a colour button got a new colour during this opening.
    bool ColorsChanged = false;

    // The choosers; replaceable so tests can answer them. An empty answer means cancelled.
    std::function<std::optional<QColor>()> chooseColor;
    std::function<std::string()> chooseImage;  // a host path

    // The colour number button `n` stands for now.
    int32_t ColorOf(int n) const { return colors_[static_cast<size_t>(n)]; }

  protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void BuildControls();
    void ConnectButtons();
    void ShowColor(int n);
    void ShowPattern();
    void cmdColor_Click(int n);
    void cmdPattern_Click();
    void ClearPattern();
    void cmdRevert_Click();
    void cmdCancel_Click();
    // Writes the scheme and the pattern, takes the colours into memory, tells the user; false
    // (after reporting) when the settings file could not be written.
    bool SaveColors();

    AppState& app_;
    std::array<int32_t, 8> colors_{};
};

// The settings keys of the eight colours, in cmdColor order.
const std::array<const char*, 8>& ColorKeys();

// The colours dialog, modal.
void ShowColors(AppState& app, QWidget* owner);

}  // namespace bw
