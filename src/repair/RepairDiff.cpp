#include "repair/RepairDiff.h"

namespace bw::repair {

namespace {

std::string NameFrom(const std::string& file, std::string base) {
    while (base.size() > 1 && base.back() == '/') base.pop_back();
    if (!base.empty() && file.size() > base.size() + 1 && file.compare(0, base.size(), base) == 0 &&
        file[base.size()] == '/')
        return file.substr(base.size() + 1);
    return file.substr(file.find_first_not_of('/'));
}

}  // namespace

void WriteUnifiedDiff(std::ostream& out, const RepairPlan& plan, const std::string& base) {
    for (const auto& f : plan.files) {
        const std::string name = NameFrom(f.file, base);
        out << "--- a/" << name << "\n+++ b/" << name << "\n";
        for (const auto& l : f.lines) {
            out << "@@ -" << l.line << " +" << l.line << " @@\n-" << l.oldText << "\n+" << l.newText
                << "\n";
        }
    }
}

}  // namespace bw::repair
