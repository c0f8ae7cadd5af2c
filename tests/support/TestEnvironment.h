#pragma once

#include <string>

namespace bw::test {

// Gives the test process its own home, data, config, cache and runtime folders, so nothing touches
// the real home (trash, caches, settings), and forgets the Wine prefix and settings file of the
// shell. Returns the home folder ("" when it could not be made); RemoveTestHome deletes it.
std::string MakeTestHome();
void RemoveTestHome(const std::string& home);

}  // namespace bw::test
