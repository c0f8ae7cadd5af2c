#include "check/PathTable.h"

#include <functional>

namespace bw::check {

uint64_t PathHash(std::string_view path) { return std::hash<std::string_view>{}(path); }

std::pair<uint32_t, bool> PathTable::Intern(std::string_view path, uint64_t hash) {
    if (2 * (paths_.size() + 1) > slots_.size()) Grow();
    const size_t mask = slots_.size() - 1;
    for (size_t i = hash & mask;; i = (i + 1) & mask) {
        Slot& slot = slots_[i];
        if (slot.id == kEmpty) {
            slot = {hash, static_cast<uint32_t>(paths_.size())};
            paths_.push_back(owned_.emplace_back(path));
            return {slot.id, true};
        }
        if (slot.hash == hash && paths_[slot.id] == path) return {slot.id, false};
    }
}

void PathTable::Grow() {
    std::vector<Slot> bigger(slots_.empty() ? 1024 : 2 * slots_.size(), Slot{0, kEmpty});
    const size_t mask = bigger.size() - 1;
    for (const Slot& slot : slots_) {
        if (slot.id == kEmpty) continue;
        size_t i = slot.hash & mask;
        while (bigger[i].id != kEmpty) i = (i + 1) & mask;
        bigger[i] = slot;
    }
    slots_ = std::move(bigger);
}

}  // namespace bw::check
