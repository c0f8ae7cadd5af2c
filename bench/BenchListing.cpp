#include <cstdio>

#include "Bench.h"

namespace bw::bench {

int BenchListing(const std::vector<std::string>&) {
    std::fprintf(stderr, "listing: not built yet\n");
    return 1;
}

}  // namespace bw::bench
