#include "ui/frmCheck.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <sstream>

#include "check/CheckCache.h"
#include "check/CheckReport.h"
#include "check/ReportView.h"
#include "cli/CheckCommandLine.h"
#include "core/AppState.h"
#include "core/Desktop.h"
#include "core/ReportError.h"
#include "platform/PlatformError.h"
#include "repair/RepairJournal.h"
#include "repair/RowChanges.h"
#include "ui/CheckFilterProxy.h"
#include "ui/CheckRowModel.h"
#include "ui/CheckRunner.h"
#include "ui/FormColors.h"
#include "ui/HoverCursor.h"
#include "ui/RepairFlow.h"
#include "ui/UnusedContentPane.h"
#include "ui/frmChooseCandidates.h"

namespace bw {

namespace {

using check::RefStatus;
using check::ReportColumn;

constexpr const char* kTitle = "Check Library";

struct StatusChoice {
    const char* caption;
    check::StatusSet statuses;
};

const StatusChoice kStatusChoices[] = {
    {"Problems", check::kProblemStatuses},
    {"All references", check::kAllStatuses},
    {"Moved", check::StatusBit(RefStatus::Moved)},
    {"Ambiguous", check::StatusBit(RefStatus::Ambiguous)},
    {"Missing", check::StatusBit(RefStatus::Missing)},
    {"Unreadable", check::StatusBit(RefStatus::Unreadable)},
    {"OK", check::StatusBit(RefStatus::Ok)},
    {"Internal", check::StatusBit(RefStatus::Internal)},
};

// The statuses in the order the counts line gives them: problems first.
constexpr RefStatus kCountOrder[] = {RefStatus::Moved,   RefStatus::Ambiguous,
                                     RefStatus::Missing, RefStatus::Unreadable,
                                     RefStatus::Ok,      RefStatus::Internal};

QPushButton* AddButton(QWidget& parent, const char* name, const char* caption, const char* tip) {
    auto* button = new QPushButton(caption, &parent);
    button->setObjectName(name);
    button->setToolTip(tip);
    // Enter in the filter field must not press a button.
    button->setAutoDefault(false);
    return button;
}

QLabel* AddLabel(QWidget& parent, const char* name, const char* text) {
    auto* label = new QLabel(text, &parent);
    label->setObjectName(name);
    return label;
}

// The chosen name with the format's extension when it has none, as a save dialog would add it.
std::string WithExtension(const std::string& path, const char* extension) {
    const size_t slash = path.rfind('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    return name.find('.') == std::string::npos ? path + extension : path;
}

QString Thousands(size_t n) { return QLocale::system().toString(static_cast<qulonglong>(n)); }

}  // namespace

frmCheck::frmCheck(AppState& app, Reveal reveal, QWidget* owner)
    : QDialog(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint),
      cachePath(check::CheckCache::DefaultPath()),
      journalRoot(repair::DefaultJournalRoot()),
      app_(app),
      reveal_(std::move(reveal)),
      runner_(new CheckRunner(this)) {
    setObjectName("frmCheck");
    setWindowTitle(kTitle);
    setModal(false);
    BuildControls();
    chooseSaveFile = [this](const std::string& title, const std::string& filter) {
        return app_.desktop.ChooseSaveFile(title, filter);
    };
    runner_->onProgress = [this](const check::CheckProgress& p) { OnProgress(p); };
    runner_->onRows = [this](std::vector<check::CheckRow>&& batch) {
        rows->Append(std::move(batch));
    };
    runner_->onFinished = [this](const check::CheckSummary& s, const std::string& error) {
        OnFinished(s, error);
    };
    ApplyFormColors(*this, app.settings, app.desktop, &app.fs->driveMap());
    InstallHoverCursor(*this);
    PlaceOver(owner);
    ShowRunning(false);
    ShowCounts();
}

frmCheck::~frmCheck() = default;

void frmCheck::PlaceOver(QWidget* owner) {
    QScreen* screen = owner && owner->screen() ? owner->screen() : QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    resize(std::min(1000, area.width() - 40), std::min(560, area.height() - 60));
    // Over the main window's middle, but wholly on its screen.
    QRect frame(QPoint(), size());
    frame.moveCenter(owner ? owner->frameGeometry().center() : area.center());
    frame.moveLeft(
        std::clamp(frame.left(), area.left(), std::max(area.left(), area.right() - frame.width())));
    frame.moveTop(
        std::clamp(frame.top(), area.top(), std::max(area.top(), area.bottom() - frame.height())));
    move(frame.topLeft());
}

void frmCheck::BuildControls() {
    rows = new CheckRowModel(this);
    shown = new CheckFilterProxy(*rows, this);

    cboStatus = new QComboBox(this);
    cboStatus->setObjectName("cboStatus");
    for (const StatusChoice& c : kStatusChoices)
        cboStatus->addItem(c.caption, QVariant::fromValue(c.statuses));
    cboStatus->setToolTip("Which references to list.");
    txtFilter = new QLineEdit(this);
    txtFilter->setObjectName("txtFilter");
    txtFilter->setClearButtonEnabled(true);
    txtFilter->setPlaceholderText("A file's name, e.g. skin.jpg, lists the files that use it");
    QLabel* lblShow = AddLabel(*this, "lblShow", "&Show:");
    lblShow->setBuddy(cboStatus);
    QLabel* lblFind = AddLabel(*this, "lblFind", "&Find:");
    lblFind->setBuddy(txtFilter);
    lblCounts = AddLabel(*this, "lblCounts", "");

    grdRows = new QTableView(this);
    grdRows->setObjectName("grdRows");
    grdRows->setModel(shown);
    grdRows->setSortingEnabled(true);
    grdRows->sortByColumn(static_cast<int>(ReportColumn::File), Qt::AscendingOrder);
    grdRows->setSelectionBehavior(QAbstractItemView::SelectRows);
    // Several rows at once: a repair takes every row selected.
    grdRows->setSelectionMode(QAbstractItemView::ExtendedSelection);
    grdRows->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdRows->setAlternatingRowColors(true);
    grdRows->setWordWrap(false);
    grdRows->setTextElideMode(Qt::ElideMiddle);
    grdRows->verticalHeader()->hide();
    grdRows->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grdRows->verticalHeader()->setDefaultSectionSize(grdRows->fontMetrics().height() + 6);
    QHeaderView* header = grdRows->horizontalHeader();
    header->setStretchLastSection(true);
    header->setHighlightSections(false);
    const std::pair<ReportColumn, int> widths[] = {{ReportColumn::Status, 80},
                                                   {ReportColumn::File, 250},
                                                   {ReportColumn::Line, 50},
                                                   {ReportColumn::Keyword, 100},
                                                   {ReportColumn::Reference, 240}};
    for (auto [column, width] : widths) header->resizeSection(static_cast<int>(column), width);
    grdRows->setToolTip("Double-click a row to show its library file in the main window.");

    prgCheck = new QProgressBar(this);
    prgCheck->setObjectName("prgCheck");
    prgCheck->setTextVisible(false);
    prgCheck->setFixedWidth(200);
    lblStatus = AddLabel(*this, "lblStatus", "");
    lblStatus->setTextInteractionFlags(Qt::TextSelectableByMouse);
    cmdCancel = AddButton(*this, "cmdCancel", "&Cancel", "Stop the check.");
    cmdAgain = AddButton(*this, "cmdAgain", "Check &Again", "Check the library once more.");
    cmdExportCsv = AddButton(*this, "cmdExportCsv", "Export CS&V...",
                             "Save the rows listed as comma-separated values.");
    cmdExportHtml =
        AddButton(*this, "cmdExportHtml", "Export &HTML...", "Save the rows listed as a web page.");
    cmdClose = AddButton(*this, "cmdClose", "C&lose", "Close this window.");
    cmdSelectRepairable =
        AddButton(*this, "cmdSelectRepairable", "Select All Re&pairable",
                  "Select every moved reference listed that has exactly one file to point to.");
    cmdRepair = AddButton(*this, "cmdRepair", "&Repair...",
                          "Point the selected moved and ambiguous references at the files found, "
                          "after a preview of every line to change.");
    cmdUndoRepair = AddButton(*this, "cmdUndoRepair", "&Undo Last Repair",
                              "Put back the library files the last repair changed.");

    auto* filters = new QHBoxLayout;
    filters->addWidget(lblShow);
    filters->addWidget(cboStatus);
    filters->addSpacing(12);
    filters->addWidget(lblFind);
    filters->addWidget(txtFilter, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(prgCheck);
    buttons->addWidget(lblStatus, 1);
    for (QPushButton* b : {cmdCancel, cmdAgain, cmdExportCsv, cmdExportHtml, cmdClose})
        buttons->addWidget(b);
    auto* repairs = new QHBoxLayout;
    for (QPushButton* b : {cmdSelectRepairable, cmdRepair, cmdUndoRepair}) repairs->addWidget(b);
    repairs->addStretch(1);
    // The references on one page, what no library file uses on the other; the buttons that run
    // and close the check stay under both.
    tabReport = new QTabWidget(this);
    tabReport->setObjectName("tabReport");
    auto* references = new QWidget(tabReport);
    auto* page = new QVBoxLayout(references);
    page->addLayout(filters);
    page->addWidget(lblCounts);
    page->addWidget(grdRows, 1);
    page->addLayout(repairs);
    tabReport->addTab(references, "R&eferences");
    unused = new UnusedContentPane(app_, tabReport);
    unused->chooseSaveFile = [this](const std::string& title, const std::string& filter) {
        return chooseSaveFile(title, filter);
    };
    tabReport->addTab(unused, "Unused C&ontent");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->addWidget(tabReport, 1);
    layout->addLayout(buttons);

    connect(cboStatus, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (i >= 0) shown->SetStatuses(cboStatus->itemData(i).value<check::StatusSet>());
    });
    shown->SetStatuses(check::kProblemStatuses);
    connect(txtFilter, &QLineEdit::textChanged, shown, &CheckFilterProxy::SetText);
    for (auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
        connect(shown, signal, this, &frmCheck::ShowCounts);
    connect(shown, &QAbstractItemModel::modelReset, this, &frmCheck::ShowCounts);
    connect(shown, &QAbstractItemModel::layoutChanged, this, &frmCheck::ShowCounts);
    connect(grdRows, &QAbstractItemView::activated, this, &frmCheck::OpenRow);
    connect(cmdCancel, &QPushButton::clicked, this, &frmCheck::CancelCheck);
    connect(cmdAgain, &QPushButton::clicked, this, &frmCheck::StartCheck);
    connect(cmdExportCsv, &QPushButton::clicked, this, &frmCheck::ExportCsv);
    connect(cmdExportHtml, &QPushButton::clicked, this, &frmCheck::ExportHtml);
    connect(cmdClose, &QPushButton::clicked, this, &frmCheck::reject);
    connect(cmdSelectRepairable, &QPushButton::clicked, this, &frmCheck::SelectAllRepairable);
    connect(cmdRepair, &QPushButton::clicked, this, &frmCheck::RepairSelected);
    connect(cmdUndoRepair, &QPushButton::clicked, this, &frmCheck::UndoLastRepair);
    connect(grdRows->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &frmCheck::ShowRepairState);
}

void frmCheck::Open() {
    show();
    raise();
    activateWindow();
    if (!running()) StartCheck();
}

bool frmCheck::running() const { return runner_->running(); }

void frmCheck::StartCheck() {
    if (running()) return;
    const std::string& setting = app_.settings.Runtime;
    check::CheckOptions options;
    options.drives = app_.fs->driveMap();
    options.cachePath = cachePath;
    rows->Reset({});
    unused->Clear();
    setWindowTitle(setting.empty() ? QString(kTitle)
                                   : QString(kTitle) + " - " + QString::fromStdString(setting));
    if (setting.empty()) {
        lblStatus->setText("No Runtime folder is set: choose one under Options > Preferences.");
        return;
    }
    try {
        // A Runtime folder typed in the settings is found without regard to letter case.
        options.runtime = cli::RuntimeFolderFor(app_.fs->HostPath(setting), options.drives);
    } catch (const PlatformError& e) {
        lblStatus->setText(
            QString::fromStdString(setting + " cannot be checked: " + e.description()));
        return;
    }
    runtime_ = options.runtime;
    rows->Reset(runtime_);
    shown->SetRuntime(runtime_);
    lblStatus->setText("Finding library files...");
    ShowRunning(true);
    runner_->Start(std::move(options));
}

void frmCheck::CancelCheck() {
    if (!running()) return;
    runner_->Cancel();
    cmdCancel->setEnabled(false);
    lblStatus->setText("Cancelling...");
}

void frmCheck::reject() {
    CancelCheck();
    QDialog::reject();
}

void frmCheck::OnProgress(const check::CheckProgress& p) {
    if (!cmdCancel->isEnabled()) return;  // "Cancelling..." stays until the check has stopped
    if (p.phase == check::CheckPhase::Walking) {
        prgCheck->setRange(0, 0);
        lblStatus->setText("Finding library files: " + Thousands(p.filesTotal));
    } else if (p.phase == check::CheckPhase::Checking) {
        prgCheck->setRange(0, static_cast<int>(std::max<size_t>(p.filesTotal, 1)));
        prgCheck->setValue(static_cast<int>(p.filesDone));
        lblStatus->setText("Checking library files: " + Thousands(p.filesDone) + " of " +
                           Thousands(p.filesTotal));
    }
}

void frmCheck::OnFinished(const check::CheckSummary& s, const std::string& error) {
    ShowRunning(false);
    if (!error.empty()) {
        lblStatus->setText(QString::fromStdString(app_.fs->WindowsPath(runtime_) +
                                                  " cannot be checked: " + error));
    } else if (s.cancelled) {
        lblStatus->setText("Cancelled: the references found so far are listed.");
    } else {
        lblStatus->setText(Thousands(s.files) + " library files, " + Thousands(s.references) +
                           " references checked.");
    }
    // What nothing uses is known only once every library file has been read.
    if (error.empty() && !s.cancelled)
        unused->Show(runtime_, rows->rows(), app_.fs->driveMap());
    else
        unused->Clear();
    ShowCounts();
}

void frmCheck::ShowRunning(bool on) {
    prgCheck->setVisible(on);
    prgCheck->setRange(0, 0);
    cmdCancel->setVisible(on);
    cmdCancel->setEnabled(on);
    cmdAgain->setVisible(!on);
    cmdExportCsv->setEnabled(!on);
    cmdExportHtml->setEnabled(!on);
    ShowRepairState();
}

void frmCheck::ShowRepairState() {
    const bool on = !running();
    cmdSelectRepairable->setEnabled(on);
    cmdRepair->setEnabled(on && !SelectedRepairable().empty());
    cmdUndoRepair->setEnabled(on);
}

void frmCheck::ShowCounts() {
    QStringList parts;
    for (RefStatus s : kCountOrder) {
        const std::string_view title = check::StatusTitle(s);
        parts << QString::fromUtf8(title.data(), static_cast<qsizetype>(title.size())) + ": " +
                     Thousands(rows->count(s));
    }
    lblCounts->setText(parts.join("     ") + "          " + Thousands(shown->rowCount()) + " of " +
                       Thousands(rows->rowCount()) + " listed");
    ShowRepairState();  // a filter or a fresh check may have taken the selection away
}

void frmCheck::OpenRow(const QModelIndex& index) {
    const int r = shown->SourceRow(index);
    if (r < 0 || !reveal_) return;
    if (!reveal_(rows->rows()[static_cast<size_t>(r)].file))
        lblStatus->setText("The main window is busy; try again when it has finished.");
}

void frmCheck::ExportCsv() { Export(true); }
void frmCheck::ExportHtml() { Export(false); }

void frmCheck::Export(bool csv) {
    if (running()) return;
    std::string chosen =
        chooseSaveFile(csv ? "Export Report As CSV..." : "Export Report As HTML...",
                       csv ? "CSV File (*.csv)|*.csv" : "HTML Page (*.html)|*.html");
    if (chosen.empty()) return;
    chosen = WithExtension(chosen, csv ? ".csv" : ".html");
    std::ostringstream out;
    const std::vector<check::CheckRow> listed = shown->ShownRows();
    if (csv)
        check::WriteCsvReport(out, listed);
    else
        check::WriteHtmlReport(out, listed, runtime_,
                               "Library check of " + app_.fs->WindowsPath(runtime_));
    app_.desktop.SetBusy(true);
    try {
        // The file is written where it was chosen; a name holding a "\" has no Windows path.
        if (!app_.fs->driveMap().CanNameHostPath(chosen))
            throw PlatformError::FromNumber(err::kBadFileName);
        app_.fs->WriteFile(app_.fs->WindowsPath(chosen), out.str());
    } catch (const PlatformError& e) {
        app_.desktop.SetBusy(false);
        ReportError(app_.desktop, e, "frmCheck.Export");
        return;
    }
    app_.desktop.SetBusy(false);
    lblStatus->setText(QString::fromStdString("Saved " + chosen));
}

std::vector<check::CheckRow> frmCheck::SelectedRepairable() const {
    std::vector<check::CheckRow> out;
    QModelIndexList selected = grdRows->selectionModel()->selectedRows();
    std::sort(selected.begin(), selected.end(),
              [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    for (const QModelIndex& index : selected) {
        const int r = shown->SourceRow(index);
        if (r < 0) continue;
        const check::CheckRow& row = rows->rows()[static_cast<size_t>(r)];
        if ((row.status == RefStatus::Moved || row.status == RefStatus::Ambiguous) &&
            !row.candidates.empty())
            out.push_back(row);
    }
    return out;
}

void frmCheck::SelectAllRepairable() {
    if (running()) return;
    const auto listed = cboStatus->currentData().value<check::StatusSet>();
    if (!(listed & check::StatusBit(RefStatus::Moved))) cboStatus->setCurrentIndex(0);
    QItemSelection selection;
    for (int r = 0; r < shown->rowCount(); ++r) {
        const int source = shown->SourceRow(shown->index(r, 0));
        if (source < 0) continue;
        const check::CheckRow& row = rows->rows()[static_cast<size_t>(source)];
        if (row.status == RefStatus::Moved && row.candidates.size() == 1)
            selection.select(shown->index(r, 0), shown->index(r, shown->columnCount() - 1));
    }
    grdRows->selectionModel()->select(
        selection, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    if (selection.isEmpty()) {
        lblStatus->setText("No moved reference with one file to point to is listed.");
        return;
    }
    grdRows->selectionModel()->setCurrentIndex(selection.first().topLeft(),
                                               QItemSelectionModel::NoUpdate);
    grdRows->scrollTo(selection.first().topLeft());
    grdRows->setFocus(Qt::OtherFocusReason);
}

void frmCheck::RepairSelected() {
    if (running()) return;
    const std::vector<check::CheckRow> chosen = SelectedRepairable();
    if (chosen.empty()) return;
    std::vector<check::CheckRow> ambiguous;
    for (const auto& row : chosen)
        if (row.status == RefStatus::Ambiguous) ambiguous.push_back(row);
    std::vector<std::string> picked;
    if (!ambiguous.empty()) {
        auto answer = ChooseCandidates(app_, ambiguous, this);
        if (!answer) return;
        picked = std::move(*answer);
    }
    const DriveMap& drives = app_.fs->driveMap();
    std::vector<repair::ReferenceChange> changes;
    size_t next = 0;
    for (const auto& row : chosen) {
        if (row.status == RefStatus::Moved) {
            changes.push_back(repair::ChangeForRow(row, row.candidates.front(), drives));
        } else {
            const std::string& path = picked[next++];
            if (!path.empty()) changes.push_back(repair::ChangeForRow(row, path, drives));
        }
    }
    if (changes.empty()) {
        lblStatus->setText("Nothing was repaired: every reference was left as it is.");
        return;
    }
    const bool wrote = RunRepairBatch(app_, this, changes, journalRoot);
    if (wrote && wroteLibraryFiles) wroteLibraryFiles();
    ComeForward();
    if (wrote) StartCheck();
}

void frmCheck::UndoLastRepair() {
    if (running()) return;
    const bool wrote = RunUndoLastRepair(app_, this, journalRoot);
    if (wrote && wroteLibraryFiles) wroteLibraryFiles();
    ComeForward();
    if (wrote) StartCheck();
}

void frmCheck::ComeForward() {
    // The program's boxes belong to the main window, which the window manager raises with them.
    raise();
    activateWindow();
}

}  // namespace bw
