#pragma once

#include <string>

#include "platform/PlatformError.h"

namespace bw::test {

// The number of the PlatformError `act` throws (its description in `description`), 0 for none.
template <class Act>
int ThrownNumber(Act&& act, std::string* description = nullptr) {
    try {
        act();
    } catch (const PlatformError& e) {
        if (description) *description = e.description();
        return e.number();
    }
    return 0;
}

}  // namespace bw::test
