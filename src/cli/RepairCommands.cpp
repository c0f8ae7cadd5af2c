#include "cli/RepairCommands.h"

#include <map>
#include <nlohmann/json.hpp>

#include "core/Settings.h"
#include "platform/FileSystem.h"
#include "platform/PlatformError.h"
#include "platform/Profile.h"
#include "repair/ApplyRepairBatch.h"
#include "repair/RepairDiff.h"
#include "repair/RepairJournal.h"
#include "repair/RowChanges.h"
#include "repair/UndoLastBatch.h"

namespace bw::cli {

namespace {

using nlohmann::json;

// The settings' BackUpFigure, on unless the file says otherwise, as the window reads it.
bool BackUpFigureSetting() {
    return ToBoolean(GetPrivateProfileString("Folder", "BackUpFigure", "", DefaultIniHostPath()),
                     true);
}

json ChangeJson(const repair::ReferenceChange& c, const char* status,
                const std::string& reason = {}) {
    json j = {{"file", c.file},
              {"line", c.line},
              {"old", c.oldReference},
              {"new", c.newReference},
              {"status", status}};
    if (!reason.empty()) j["reason"] = reason;
    return j;
}

// Host paths need not be UTF-8; the JSON carries such bytes replaced rather than failing.
void PrintJson(std::ostream& out, const json& j) {
    out << j.dump(2, ' ', false, json::error_handler_t::replace) << "\n";
}

size_t CountStatus(const std::vector<check::CheckRow>& rows, check::RefStatus status) {
    size_t n = 0;
    for (const auto& r : rows) n += r.status == status;
    return n;
}

int Finish(std::ostream& out, std::ostream& err, bool problems) {
    out.flush();
    if (!out) {
        err << "brindlewood-check: the result could not be written\n";
        return kExitFailed;
    }
    return problems ? kExitProblems : kExitClean;
}

}  // namespace

int RunFix(const CheckCommand& command, const std::string& runtime, const DriveMap& drives,
           const std::vector<check::CheckRow>& rows, std::ostream& out, std::ostream& err) {
    FileSystem fs(drives);
    const auto plan = repair::PlanRepairBatch(fs, repair::RepairableChanges(rows, drives));
    const bool asJson = command.format == ReportFormat::Json;
    repair::BatchResult done;
    if (!command.dryRun) {
        try {
            done = repair::ApplyRepairBatch(
                fs, plan, {repair::DefaultJournalRoot(), BackUpFigureSetting(), {}});
        } catch (const PlatformError& e) {
            err << "brindlewood-check: the repair journal could not be begun: " << e.description()
                << "\n";
            return kExitFailed;
        }
    }
    std::map<std::string, std::string> failed;
    for (const auto& f : done.failed) failed[f.file] = f.reason;
    const bool problems = !plan.refused.empty() || !failed.empty();

    if (asJson) {
        json list = json::array();
        for (const auto& f : plan.files) {
            const auto why = failed.find(f.file);
            for (const auto& l : f.lines) {
                for (const auto& c : l.changes) {
                    if (command.dryRun)
                        list.push_back(ChangeJson(c, "planned"));
                    else if (why == failed.end())
                        list.push_back(ChangeJson(c, "repaired"));
                    else
                        list.push_back(ChangeJson(c, "failed", why->second));
                }
            }
        }
        for (const auto& r : plan.refused)
            list.push_back(ChangeJson(r.change, "refused", r.reason));
        PrintJson(out, list);
        return Finish(out, err, problems);
    }

    if (command.dryRun) {
        repair::WriteUnifiedDiff(out, plan, runtime);
    } else if (done.repaired.empty()) {
        out << "Nothing repaired.\n";
    } else {
        out << "Repaired " << done.lines << (done.lines == 1 ? " line" : " lines") << " in "
            << done.repaired.size() << (done.repaired.size() == 1 ? " file" : " files")
            << ". Undo with: brindlewood-check --undo\n";
    }
    for (const auto& r : plan.refused)
        err << "refused: " << r.change.file << ":" << r.change.line << ": " << r.reason << "\n";
    for (const auto& [file, reason] : failed)
        err << "not repaired: " << file << ": " << reason << "\n";
    if (!command.dryRun) {
        const size_t ambiguous = CountStatus(rows, check::RefStatus::Ambiguous);
        const size_t missing = CountStatus(rows, check::RefStatus::Missing);
        if (ambiguous + missing > 0)
            out << "Left for you: " << ambiguous << " ambiguous (a choice of location), " << missing
                << " missing.\n";
    }
    return Finish(out, err, problems);
}

int RunUndo(const CheckCommand& command, std::ostream& out, std::ostream& err) {
    FileSystem fs(DriveMap::FromEnvironment());
    repair::UndoResult r;
    try {
        r = repair::UndoLastBatch(fs, repair::DefaultJournalRoot());
    } catch (const PlatformError& e) {
        err << "brindlewood-check: the repair could not be undone: " << e.description() << "\n";
        return kExitFailed;
    }
    if (command.format == ReportFormat::Json) {
        json skipped = json::array();
        for (const auto& s : r.skipped) skipped.push_back({{"file", s.file}, {"reason", s.reason}});
        PrintJson(out, {{"journal", r.journal.empty() ? json(nullptr) : json(r.journal)},
                        {"restored", r.restored},
                        {"unchanged", r.unchanged},
                        {"skipped", skipped}});
        return Finish(out, err, !r.skipped.empty());
    }
    if (r.journal.empty()) {
        out << "No repair to undo.\n";
        return Finish(out, err, false);
    }
    out << "Restored " << r.restored.size() << (r.restored.size() == 1 ? " file" : " files")
        << " of the repair journalled in " << r.journal << ".\n";
    for (const auto& s : r.skipped) err << "skipped: " << s.file << ": " << s.reason << "\n";
    if (!r.finished) err << "Some files could not be restored; run --undo again to retry.\n";
    return Finish(out, err, !r.skipped.empty());
}

}  // namespace bw::cli
