#include "core/EventTrap.h"

#include <iostream>
#include <new>

#include "core/ReportError.h"
#include "platform/PlatformError.h"

namespace bw {

namespace {

constexpr int kOutOfMemory = 7;
constexpr int kInternalError = 51;

}  // namespace

bool EventTrap::Run(const std::function<bool()>& deliver, const std::string& where) {
    try {
        return deliver();
    } catch (const PlatformError& e) {
        Report(e.number(), e.description(), where);
    } catch (const std::bad_alloc&) {
        Report(kOutOfMemory, "Out of memory", where);
    } catch (const std::exception& e) {
        Report(kInternalError, e.what(), where);
    }
    return false;
}

void EventTrap::Report(int number, const std::string& description, const std::string& where) {
    if (reporting_) return;
    reporting_ = true;
    try {
        if (reporter_)
            ReportError(*reporter_, number, description, where);
        else
            std::cerr << GenericErrorText(number, description, where) << '\n';
    } catch (...) {
        // The report itself failed (no memory left for its box): nothing more can be shown.
    }
    reporting_ = false;
}

}  // namespace bw
