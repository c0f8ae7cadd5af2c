#pragma once

#include <QDialog>
#include <optional>
#include <string>
#include <vector>

#include "check/CheckTypes.h"

class QComboBox;
class QPushButton;

namespace bw {

class AppState;

// Asks which file each ambiguous reference is to name: a list of the references, each with a box
// of the files of its name that were found. Every box starts on "Leave as it is", so that only a
// file the user picked is ever written. Modal.
class frmChooseCandidates : public QDialog {
    Q_OBJECT
  public:
    frmChooseCandidates(AppState& app, const std::vector<check::CheckRow>& rows, QWidget* owner);

    // The host path chosen for each row, in the rows' order; empty for one left as it is.
    std::vector<std::string> Chosen() const;

    std::vector<QComboBox*> cboCandidate;  // one per row; item 0 leaves it
    QPushButton* cmdOK;
    QPushButton* cmdCancel;

  private:
    std::vector<check::CheckRow> rows_;
};

// The choices, or no value when the user cancelled.
std::optional<std::vector<std::string>> ChooseCandidates(AppState& app,
                                                         const std::vector<check::CheckRow>& rows,
                                                         QWidget* owner);

}  // namespace bw
