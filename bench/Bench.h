#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "core/AppState.h"

namespace bw::bench {

// A program state over the host's drives whose Desktop pumps the Qt event loop like the window's
// (throttled to ~15 ms) and records how far apart the pumps were.
struct BenchApp {
    BenchApp();
    ~BenchApp();
    std::unique_ptr<Desktop> desktop;
    std::unique_ptr<AppState> app;
    // The longest gap between two event pumps while the last measured work ran, in ms.
    double MaxPumpGapMs() const;
    void ResetPumpGaps();
};

// The Qt side of the tree, as in the window: a model and an expanded, shown view.
struct BenchView {
    explicit BenchView(AppState& app);
    ~BenchView();
    struct Parts;
    std::unique_ptr<Parts> parts;
    // The view's index of a node, to expand it.
    void Expand(Node* node);
};

// Elapsed milliseconds since `start`.
inline long long MsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                 start)
        .count();
}

// Sub-commands; each takes its own arguments and prints one result line.
int BenchExpand(const std::vector<std::string>& args);
int BenchScan(const std::vector<std::string>& args);
int BenchLocate(const std::vector<std::string>& args);
int BenchRefs(const std::vector<std::string>& args);
int BenchListing(const std::vector<std::string>& args);
int BenchCheck(const std::vector<std::string>& args);
int BenchCheckWindow(const std::vector<std::string>& args);
int BenchPreview(const std::vector<std::string>& args);
int BenchRepair(const std::vector<std::string>& args);

}  // namespace bw::bench
