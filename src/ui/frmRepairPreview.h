#pragma once

#include <QDialog>

#include "repair/RepairBatch.h"

class QLabel;
class QPushButton;
class QTreeWidget;

namespace bw {

class AppState;

// What a batch repair would write, shown before anything is: each library file with its lines as
// they are now and as they would be, then the changes that cannot be made and why. Modal; Apply
// accepts, Cancel and Esc reject.
class frmRepairPreview : public QDialog {
    Q_OBJECT
  public:
    frmRepairPreview(AppState& app, const repair::RepairPlan& plan, QWidget* owner);

    QLabel* lblCounts;
    QTreeWidget* treChanges;  // a library file per top row, its changed lines beneath
    QLabel* lblRefused;
    QTreeWidget* treRefused;
    QPushButton* cmdApply;
    QPushButton* cmdCancel;
};

// "1 library file, 1 line will change." and so on; "Nothing will change." for an empty plan.
std::string PlanCountText(const repair::RepairPlan& plan);

}  // namespace bw
