#include "core/AppState.h"

namespace bw {

AppState::AppState(Desktop& d, std::unique_ptr<FileSystem> f) : desktop(d), fs(std::move(f)) {}

AppState::~AppState() {
    // The tree must not announce its teardown to a view that may already be gone.
    tree.SetListener(nullptr);
}

}  // namespace bw
