#include "cli/UnusedCommand.h"

#include <nlohmann/json.hpp>

#include "platform/PlatformError.h"
#include "repair/UnusedContent.h"

namespace bw::cli {

int RunUnused(const CheckCommand& command, const std::string& runtime, const DriveMap& drives,
              const std::vector<check::CheckRow>& rows, std::ostream& out, std::ostream& err) {
    repair::UnusedContent content;
    try {
        content = repair::FindUnusedContent(runtime, rows, drives);
    } catch (const PlatformError& e) {
        err << "brindlewood-check: " << runtime << ": " << e.description() << "\n";
        return kExitFailed;
    }
    switch (command.format) {
        case ReportFormat::Json: {
            auto list = nlohmann::json::array();
            for (const auto& f : content.files)
                list.push_back({{"file", f.path}, {"size", f.size}});
            out << list.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << "\n";
            break;
        }
        case ReportFormat::Csv:
            repair::WriteUnusedCsv(out, content);
            break;
        case ReportFormat::Text:
            for (const auto& f : content.files) out << f.path << "  " << f.size << " bytes\n";
            out << content.files.size() << (content.files.size() == 1 ? " file, " : " files, ")
                << content.totalSize << " bytes unused\n";
            break;
    }
    // Said apart from the list, so that the JSON and CSV stay clean.
    if (content.unreadable > 0)
        err << "brindlewood-check: " << content.unreadable
            << " library files could not be read; the files they use may be listed as unused\n";
    out.flush();
    if (!out) {
        err << "brindlewood-check: the list could not be written\n";
        return kExitFailed;
    }
    return kExitClean;
}

}  // namespace bw::cli
