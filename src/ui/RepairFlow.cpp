#include "ui/RepairFlow.h"

#include <QApplication>
#include <QDateTime>
#include <QLocale>
#include <QProgressDialog>
#include <optional>

#include "core/AppState.h"
#include "core/Desktop.h"
#include "core/ReportError.h"
#include "platform/PlatformError.h"
#include "repair/ApplyRepairBatch.h"
#include "repair/RepairJournal.h"
#include "repair/UndoLastBatch.h"
#include "ui/frmRepairPreview.h"

namespace bw {

namespace {

constexpr const char* kRepairTitle = "Repair References";
constexpr const char* kUndoTitle = "Undo Last Repair";

std::string Counted(size_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

// The program's box is of a fixed size: of several failures, the first speaks for them all.
std::string FirstFailure(AppState& app, const std::vector<repair::FileFailure>& failures) {
    if (failures.empty()) return {};
    const auto& f = failures.front();
    return (failures.size() == 1 ? ": " : ", the first of them ") + app.fs->WindowsPath(f.file) +
           " (" + f.reason + ").";
}

// The manifest Undo would take: the newest batch not undone. A batch that recorded no file
// changed nothing; it is marked undone on the way so that it never stands for "the last repair".
std::optional<repair::JournalManifest> LastBatch(FileSystem& fs, const std::string& root) {
    for (const auto& folder : repair::JournalFolders(root)) {
        repair::JournalManifest manifest;
        try {
            manifest = repair::ReadManifest(fs, folder);
        } catch (const PlatformError& e) {
            if (e.number() == err::kFileNotFound) continue;
            throw;
        }
        if (manifest.undone) continue;
        if (!manifest.entries.empty()) return manifest;
        manifest.undone = true;
        repair::WriteManifest(fs, folder, manifest);
    }
    return std::nullopt;
}

// " (6 Dec 2026 14:03)" in local time; empty when the stamp cannot be read.
std::string WhenText(const std::string& created) {
    const QDateTime utc = QDateTime::fromString(QString::fromStdString(created), Qt::ISODate);
    if (!utc.isValid()) return {};
    const QDateTime local = utc.toLocalTime();
    return " (" + QLocale::system().toString(local.date(), QLocale::ShortFormat).toStdString() +
           " " + local.time().toString("HH:mm").toStdString() + ")";
}

std::string ResultText(AppState& app, const repair::BatchResult& r, size_t total) {
    std::string text = r.repaired.empty()
                           ? std::string("No library file was repaired.")
                           : Counted(r.repaired.size(), "library file", "library files") +
                                 " repaired, " + Counted(r.lines, "line", "lines") + " changed.";
    if (!r.failed.empty())
        text += " " + Counted(r.failed.size(), "was", "were") + " left as " +
                (r.failed.size() == 1 ? "it was" : "they were") + FirstFailure(app, r.failed);
    const size_t left = total - std::min(total, r.repaired.size() + r.failed.size());
    if (r.stopped && left > 0) text += " Stopped before " + std::to_string(left) + " more.";
    if (!r.repaired.empty()) text += "\r\n\r\nUndo Last Repair puts back what was repaired.";
    return text;
}

}  // namespace

bool RunRepairBatch(AppState& app, QWidget* owner,
                    const std::vector<repair::ReferenceChange>& changes,
                    const std::string& journalRoot) {
    if (changes.empty()) return false;
    repair::RepairPlan plan;
    app.desktop.SetBusy(true);
    try {
        plan = repair::PlanRepairBatch(*app.fs, changes);
    } catch (const PlatformError& e) {
        app.desktop.SetBusy(false);
        ReportError(app.desktop, e, "RunRepairBatch");
        return false;
    }
    app.desktop.SetBusy(false);

    {
        frmRepairPreview preview(app, plan, owner);
        if (preview.exec() != QDialog::Accepted || plan.files.empty()) return false;
    }

    const size_t total = plan.files.size();
    QProgressDialog progress("Repairing library files...", "Cancel", 0, static_cast<int>(total),
                             owner);
    progress.setObjectName("prgRepair");
    progress.setWindowTitle(kRepairTitle);
    progress.setWindowModality(Qt::ApplicationModal);
    progress.setMinimumDuration(0);
    progress.setAutoReset(false);
    progress.setAutoClose(false);
    progress.setValue(0);
    repair::ApplyOptions options;
    options.journalRoot = journalRoot;
    options.backUpFigure = app.settings.BackUpFigure;
    options.progress = [&](size_t done, size_t all) {
        progress.setValue(static_cast<int>(done));
        if (done < plan.files.size())
            progress.setLabelText(QString::fromStdString(
                "Repairing library file " + std::to_string(done + 1) + " of " +
                std::to_string(all) + ":\n" + app.fs->WindowsPath(plan.files[done].file)));
        QApplication::processEvents();
        return !progress.wasCanceled();
    };
    repair::BatchResult result;
    try {
        result = repair::ApplyRepairBatch(*app.fs, plan, options);
    } catch (const PlatformError& e) {
        progress.close();
        ReportError(app.desktop, e, "RunRepairBatch");
        return false;
    }
    progress.close();

    const bool clean = result.failed.empty() && !result.stopped;
    app.desktop.ShowMsgBox(ResultText(app, result, total),
                           style::kOKOnly + (clean ? 0 : style::kAlert), kRepairTitle);
    return !result.repaired.empty();
}

bool RunUndoLastRepair(AppState& app, QWidget* owner, const std::string& journalRoot) {
    (void)owner;  // the boxes are the program's own, centred on the screen
    repair::UndoResult result;
    try {
        const auto last = LastBatch(*app.fs, journalRoot);
        if (!last) {
            app.desktop.ShowMsgBox("There is no repair to undo.", style::kOKOnly, kUndoTitle);
            return false;
        }
        const size_t n = last->entries.size();
        const std::string prompt = "Put back the " + Counted(n, "library file", "library files") +
                                   " the last repair" + WhenText(last->created) + " changed?";
        if (app.desktop.ShowMsgBox(prompt, style::kYesNo, kUndoTitle) != answer::kYes) return false;
        app.desktop.SetBusy(true);
        result = repair::UndoLastBatch(*app.fs, journalRoot);
        app.desktop.SetBusy(false);
    } catch (const PlatformError& e) {
        app.desktop.SetBusy(false);
        ReportError(app.desktop, e, "RunUndoLastRepair");
        return false;
    }
    if (result.journal.empty()) {
        app.desktop.ShowMsgBox("There is no repair to undo.", style::kOKOnly, kUndoTitle);
        return false;
    }
    std::string text =
        result.restored.empty()
            ? std::string("No library file was put back.")
            : Counted(result.restored.size(), "library file", "library files") + " put back.";
    if (!result.skipped.empty())
        text += " " + Counted(result.skipped.size(), "was", "were") + " left as " +
                (result.skipped.size() == 1 ? "it is" : "they are") +
                FirstFailure(app, result.skipped);
    if (!result.finished) text += " Undo Last Repair can be tried again.";
    app.desktop.ShowMsgBox(text, style::kOKOnly + (result.skipped.empty() ? 0 : style::kAlert),
                           kUndoTitle);
    return !result.restored.empty();
}

}  // namespace bw
