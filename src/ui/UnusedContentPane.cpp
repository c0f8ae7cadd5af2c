#include "ui/UnusedContentPane.h"

#include <QAction>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <sstream>
#include <unordered_set>

#include "core/AppState.h"
#include "core/Desktop.h"
#include "fileops/Companions.h"
#include "fileops/RemoveThisFile.h"
#include "platform/PlatformError.h"
#include "ui/SaveChosenFile.h"

namespace bw {

namespace {

enum Column { kFile, kSize, kColumns };
// The file item keeps the host path it stands for; both items sort by kSortRole.
constexpr int kSortRole = Qt::UserRole;
constexpr int kHostRole = Qt::UserRole + 1;
// A failure report names this many files at most.
constexpr size_t kFailuresNamed = 10;

constexpr const char* kHint = "Listed when a check has run to its end.";

QString Thousands(uint64_t n) { return QLocale::system().toString(static_cast<qulonglong>(n)); }

QString Q(const std::string& s) { return QString::fromStdString(s); }

std::string NameOf(const std::string& path, char separator) {
    return path.substr(path.rfind(separator) + 1);
}

std::string Plural(size_t n, const char* one, const char* many) {
    return n == 1 ? std::string("1 ") + one : std::to_string(n) + " " + many;
}

}  // namespace

UnusedContentPane::UnusedContentPane(AppState& app, QWidget* parent)
    : QWidget(parent), app_(app), model_(new QStandardItemModel(0, kColumns, this)) {
    setObjectName("UnusedContentPane");
    BuildControls();
    chooseSaveFile = [this](const std::string& title, const std::string& filter) {
        return app_.desktop.ChooseSaveFile(title, filter);
    };
    Clear();
}

void UnusedContentPane::BuildControls() {
    model_->setHorizontalHeaderLabels({"File", "Size"});
    model_->horizontalHeaderItem(kSize)->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    model_->setSortRole(kSortRole);

    lblTotals = new QLabel(this);
    lblTotals->setObjectName("lblTotals");
    lblUnreadable = new QLabel(this);
    lblUnreadable->setObjectName("lblUnreadable");
    lblUnreadable->setWordWrap(true);
    lblUnreadable->setStyleSheet("color: #a00000");

    grdUnused = new QTableView(this);
    grdUnused->setObjectName("grdUnused");
    grdUnused->setModel(model_);
    grdUnused->setSortingEnabled(true);
    grdUnused->sortByColumn(kFile, Qt::AscendingOrder);
    grdUnused->setSelectionBehavior(QAbstractItemView::SelectRows);
    grdUnused->setSelectionMode(QAbstractItemView::ExtendedSelection);
    grdUnused->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdUnused->setAlternatingRowColors(true);
    grdUnused->setWordWrap(false);
    grdUnused->setTextElideMode(Qt::ElideMiddle);
    grdUnused->verticalHeader()->hide();
    grdUnused->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grdUnused->verticalHeader()->setDefaultSectionSize(grdUnused->fontMetrics().height() + 6);
    QHeaderView* header = grdUnused->horizontalHeader();
    header->setHighlightSections(false);
    header->setSectionResizeMode(kFile, QHeaderView::Stretch);
    header->setSectionResizeMode(kSize, QHeaderView::Interactive);
    header->resizeSection(kSize, 110);
    grdUnused->setToolTip(
        "Textures and geometries that no library file uses. Select the ones to remove; Delete "
        "removes them too.");

    cmdExportCsv = new QPushButton("Export &CSV...", this);
    cmdExportCsv->setObjectName("cmdExportCsv");
    cmdExportCsv->setToolTip("Save the list of unused files as comma-separated values.");
    cmdRecycle = new QPushButton(this);
    cmdRecycle->setObjectName("cmdRecycle");
    for (QPushButton* b : {cmdExportCsv, cmdRecycle}) b->setAutoDefault(false);

    auto* remove = new QAction(this);
    remove->setShortcut(QKeySequence::Delete);
    remove->setShortcutContext(Qt::WidgetShortcut);
    grdUnused->addAction(remove);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(lblTotals, 1);
    buttons->addWidget(cmdExportCsv);
    buttons->addWidget(cmdRecycle);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(grdUnused, 1);
    layout->addWidget(lblUnreadable);
    layout->addLayout(buttons);

    connect(cmdExportCsv, &QPushButton::clicked, this, &UnusedContentPane::ExportCsv);
    connect(cmdRecycle, &QPushButton::clicked, this, &UnusedContentPane::RemoveSelected);
    connect(remove, &QAction::triggered, this, &UnusedContentPane::RemoveSelected);
    connect(grdUnused->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &UnusedContentPane::UpdateButtons);
}

void UnusedContentPane::Clear() {
    listed_ = false;
    content_ = {};
    model_->setRowCount(0);
    ShowTotals();
}

void UnusedContentPane::Show(const std::string& runtimeHost,
                             const std::vector<check::CheckRow>& rows, const DriveMap& drives) {
    Clear();
    // Listing the Textures and Geometries folders is quick for thousands of files (one readdir
    // and stat each, no file read), so it runs here rather than on a thread of its own.
    app_.desktop.SetBusy(true);
    try {
        content_ = repair::FindUnusedContent(runtimeHost, rows, drives);
        listed_ = true;
    } catch (const PlatformError& e) {
        app_.desktop.SetBusy(false);
        lblTotals->setText(
            Q(app_.fs->WindowsPath(runtimeHost) + " cannot be listed: " + e.description()));
        return;
    }
    model_->setRowCount(static_cast<int>(content_.files.size()));
    for (size_t i = 0; i < content_.files.size(); ++i) {
        const repair::UnusedFile& f = content_.files[i];
        const QString shown = Q(app_.fs->WindowsPath(f.path));
        auto* file = new QStandardItem(shown);
        // Windows paths sort as Windows lists them, letter case aside.
        file->setData(shown.toLower(), kSortRole);
        // As bytes: a host name need not be UTF-8, and must come back exactly.
        file->setData(QByteArray::fromStdString(f.path), kHostRole);
        auto* size = new QStandardItem(Thousands(f.size));
        size->setData(static_cast<qulonglong>(f.size), kSortRole);
        size->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        model_->setItem(static_cast<int>(i), kFile, file);
        model_->setItem(static_cast<int>(i), kSize, size);
    }
    // Rows set in place are not sorted: the order the user chose is applied again.
    const QHeaderView* header = grdUnused->horizontalHeader();
    model_->sort(header->sortIndicatorSection(), header->sortIndicatorOrder());
    app_.desktop.SetBusy(false);
    ShowTotals();
}

void UnusedContentPane::ShowTotals() {
    const size_t n = content_.files.size();
    if (!listed_)
        lblTotals->setText(kHint);
    else if (n == 0)
        lblTotals->setText("No unused textures or geometries: library files use every one.");
    else
        lblTotals->setText(Q(Plural(n, "file", "files")) + ", " + Thousands(content_.totalSize) +
                           " bytes unused");
    const size_t unreadable = listed_ ? content_.unreadable : 0;
    lblUnreadable->setVisible(unreadable > 0);
    lblUnreadable->setText(
        Q(Plural(unreadable, "library file or folder", "library files or folders")) +
        " could not be read: what is in " + (unreadable == 1 ? "it" : "them") +
        " may use some of the files listed.");
    UpdateButtons();
}

void UnusedContentPane::UpdateButtons() {
    cmdExportCsv->setEnabled(listed_ && !content_.files.empty());
    const bool trash = app_.settings.MoveFile;
    cmdRecycle->setText(trash ? "&Move to Recycle Bin" : "&Delete Permanently");
    cmdRecycle->setToolTip(trash ? "Move the selected files to the Recycle Bin."
                                 : "Delete the selected files for good.");
    cmdRecycle->setEnabled(listed_ && !SelectedRows().empty());
}

std::string UnusedContentPane::HostPathOf(int row) const {
    return model_->item(row, kFile)->data(kHostRole).toByteArray().toStdString();
}

std::vector<int> UnusedContentPane::SelectedRows() const {
    std::vector<int> out;
    for (const QModelIndex& i : grdUnused->selectionModel()->selectedRows(kFile))
        out.push_back(i.row());
    std::sort(out.begin(), out.end());
    return out;
}

void UnusedContentPane::ExportCsv() {
    if (!listed_) return;
    const std::string chosen =
        chooseSaveFile("Export Unused Files As CSV...", "CSV File (*.csv)|*.csv");
    if (chosen.empty()) return;
    std::ostringstream out;
    repair::WriteUnusedCsv(out, content_);
    SaveChosenFile(app_, chosen, ".csv", out.str(), "UnusedContentPane.ExportCsv");
}

void UnusedContentPane::RemoveSelected() {
    if (!listed_) return;
    // By host path, not by row: the question lets events run, and the list may change meanwhile.
    std::vector<std::string> chosen;
    for (int r : SelectedRows()) chosen.push_back(HostPathOf(r));
    if (chosen.empty()) return;

    const bool trash = app_.settings.MoveFile;
    if (app_.settings.ConfirmDelete) {
        const std::string what = chosen.size() == 1
                                     ? "the '" + NameOf(chosen.front(), '/') + "' file"
                                     : "the " + std::to_string(chosen.size()) + " selected files";
        std::string prompt = "Are you sure you want to ";
        prompt +=
            trash ? "move " + what + " to the Recycle Bin?" : "PERMANENTLY delete " + what + "?";
        if (content_.unreadable > 0)
            prompt += "\r\nSome library files could not be read and may use them.";
        const std::string title = chosen.size() == 1
                                      ? "Deleting " + what + "..."
                                      : "Deleting " + std::to_string(chosen.size()) + " files...";
        if (app_.desktop.ShowMsgBox(prompt, style::kYesNo + style::kHand, title) != answer::kYes)
            return;
        if (!listed_) return;  // a check started meanwhile
    }

    std::unordered_set<std::string> unused;
    for (const auto& f : content_.files) unused.insert(f.path);
    std::vector<std::string> gone, left;
    const auto remove = [&](const std::string& host) {
        const std::string path = app_.fs->WindowsPath(host);
        try {
            // A name that no Windows path can carry would name another entry.
            if (!app_.fs->driveMap().CanNameHostPath(host))
                throw PlatformError::FromNumber(err::kBadFileName);
            RemoveThisFileOrThrow(app_, path);
            gone.push_back(host);
            return true;
        } catch (const PlatformError& e) {
            left.push_back(path + ": " + e.description());
            return false;
        }
    };
    app_.desktop.SetBusy(true);
    for (const std::string& host : chosen) {
        if (!unused.count(host)) continue;  // it left the list while the question was up
        const std::string path = app_.fs->WindowsPath(host);
        const std::string folder = host.substr(0, host.rfind('/') + 1);
        const std::vector<std::string> companions = app_.fs->driveMap().CanNameHostPath(host)
                                                        ? CompanionsToRemove(*app_.fs, path)
                                                        : std::vector<std::string>{};
        if (!remove(host)) continue;
        for (const std::string& companion : companions) {
            const std::string name = NameOf(companion, '\\');
            // A companion that is itself content yet not listed is used by a library file.
            if (repair::IsContentFileName(name) && !unused.count(folder + name)) continue;
            remove(folder + name);
        }
    }
    app_.desktop.SetBusy(false);

    const std::unordered_set<std::string> went(gone.begin(), gone.end());
    for (int r = model_->rowCount() - 1; r >= 0; --r)
        if (went.count(HostPathOf(r))) model_->removeRow(r);
    std::erase_if(content_.files, [&](const repair::UnusedFile& f) { return went.count(f.path); });
    content_.totalSize = 0;
    for (const auto& f : content_.files) content_.totalSize += f.size;
    ShowTotals();

    if (!gone.empty() && onRemoved) onRemoved(gone);
    if (!left.empty()) {
        std::string prompt =
            Plural(left.size(), "file", "files") +
            (trash ? " could not be moved to the Recycle Bin:" : " could not be deleted:");
        for (size_t i = 0; i < left.size() && i < kFailuresNamed; ++i) prompt += "\r\n" + left[i];
        if (left.size() > kFailuresNamed)
            prompt += "\r\n... and " + std::to_string(left.size() - kFailuresNamed) + " more.";
        app_.desktop.ShowMsgBox(prompt, style::kOKOnly + style::kAlert,
                                trash ? "Moving to the Recycle Bin" : "Deleting");
    }
}

}  // namespace bw
