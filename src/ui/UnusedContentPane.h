#pragma once

#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "check/CheckTypes.h"
#include "platform/DriveMap.h"
#include "repair/UnusedContent.h"

class QLabel;
class QPushButton;
class QStandardItemModel;
class QTableView;

namespace bw {

class AppState;

// The textures and geometries of a Runtime folder that no library file uses, as a check that ran
// to its end found them: listed with their sizes, exported as CSV, and moved to the Recycle Bin
// (or deleted, as the settings say) with their thumbnail companions. Meant as a page of the
// check's report window.
class UnusedContentPane : public QWidget {
    Q_OBJECT
  public:
    explicit UnusedContentPane(AppState& app, QWidget* parent = nullptr);

    // Lists what the rows of a finished check of `runtimeHost` leave unused. Throws nothing: a
    // Runtime folder that cannot be listed is said so in the pane.
    void Show(const std::string& runtimeHost, const std::vector<check::CheckRow>& rows,
              const DriveMap& drives);
    // Empties the list while no finished check stands behind it (a check starts or was cancelled).
    void Clear();
    // Writes the files listed to a CSV file the user chooses.
    void ExportCsv();
    // Moves the selected files to the Recycle Bin, or deletes them, after asking when the settings
    // say so.
    void RemoveSelected();

    QTableView* grdUnused;
    QLabel* lblTotals;
    QLabel* lblUnreadable;
    QPushButton* cmdExportCsv;
    QPushButton* cmdRecycle;
    // The save-file chooser: the chosen host path, or empty; replaceable for tests.
    std::function<std::string(const std::string& title, const std::string& filter)> chooseSaveFile;
    // Called with the host paths of what went, companions included, after a removal took some.
    std::function<void(const std::vector<std::string>& hostPaths)> onRemoved;

  private:
    void BuildControls();
    void ShowTotals();
    void UpdateButtons();
    std::vector<int> SelectedRows() const;
    std::string HostPathOf(int row) const;

    AppState& app_;
    QStandardItemModel* model_;
    repair::UnusedContent content_;  // what is still listed
    bool listed_ = false;            // a finished check stands behind the list
};

}  // namespace bw
