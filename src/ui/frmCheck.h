#pragma once

#include <QDialog>
#include <functional>
#include <string>

#include "check/LibraryCheck.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTableView;
class QTabWidget;

namespace bw {

class AppState;
class CheckFilterProxy;
class CheckRowModel;
class CheckRunner;
class UnusedContentPane;

// The library check's report window: checks the settings' Runtime folder on a thread of its own,
// with progress and Cancel, and lists the references found in a table that can be filtered by
// status and by typed text, sorted by any column, and exported as CSV or as an HTML page. Opening
// a row shows its library file in the main tree. Not modal: the main window stays in use.
class frmCheck : public QDialog {
    Q_OBJECT
  public:
    // Shows the library file at a host path in the main tree; false when that cannot be done now.
    using Reveal = std::function<bool(const std::string& hostPath)>;

    frmCheck(AppState& app, Reveal reveal, QWidget* owner = nullptr);
    ~frmCheck() override;

    // Brings the window forward and starts a fresh check unless one is running.
    void Open();
    // Starts a check of the settings' Runtime folder, the rows of the last one cleared.
    void StartCheck();
    // Asks the running check to stop; the rows found so far stay.
    void CancelCheck();
    bool running() const;
    // Writes the rows shown, in the order shown, to a file the user chooses.
    void ExportCsv();
    void ExportHtml();
    // Selects every moved row with its one candidate among the rows listed; when the status
    // filter hides moved rows it goes back to "Problems" first.
    void SelectAllRepairable();
    // Repairs the selected moved and ambiguous rows through the preview, asking first which file
    // each ambiguous one is to name; the check runs again once anything was written.
    void RepairSelected();
    // Puts back the files the last repair changed; the check runs again once any was.
    void UndoLastRepair();

    QComboBox* cboStatus;
    QLineEdit* txtFilter;
    QLabel* lblCounts;
    QTableView* grdRows;
    QProgressBar* prgCheck;
    QLabel* lblStatus;
    QPushButton* cmdCancel;
    QPushButton* cmdAgain;
    QPushButton* cmdExportCsv;
    QPushButton* cmdExportHtml;
    QPushButton* cmdClose;
    QPushButton* cmdSelectRepairable;
    QPushButton* cmdRepair;
    QPushButton* cmdUndoRepair;
    CheckRowModel* rows;
    QTabWidget* tabReport;
    UnusedContentPane* unused;  // the second page
    CheckFilterProxy* shown;

    // Where the check keeps what it read; empty for none.
    std::string cachePath;
    // The save-file chooser: the chosen host path, or empty; replaceable for tests.
    std::function<std::string(const std::string& title, const std::string& filter)> chooseSaveFile;
    // Where repairs keep the old bytes for Undo (host path); replaceable for tests.
    std::string journalRoot;
    // Called after a repair or an undo from this window wrote library files, so what else shows
    // them can show them anew.
    std::function<void()> wroteLibraryFiles;

  public slots:
    void reject() override;  // Esc and the close control stop the check too

  private:
    void BuildControls();
    // Sizes the window to fit the screen and places it over the owner's middle.
    void PlaceOver(QWidget* owner);
    void OnProgress(const check::CheckProgress& progress);
    void OnFinished(const check::CheckSummary& summary, const std::string& error);
    void ShowCounts();
    void ShowRunning(bool running);
    void OpenRow(const QModelIndex& index);
    void Export(bool csv);
    // The selected rows a repair can take: moved or ambiguous, in the order shown.
    std::vector<check::CheckRow> SelectedRepairable() const;
    void ShowRepairState();
    // Back in front after the boxes of a repair or an undo.
    void ComeForward();

    AppState& app_;
    Reveal reveal_;
    CheckRunner* runner_;
    std::string runtime_;  // host path of the folder being (or last) checked
};

}  // namespace bw
