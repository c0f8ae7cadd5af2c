#include <cstdio>

#include "Bench.h"

namespace bw::bench {

int BenchScan(const std::vector<std::string>&) {
    std::fprintf(stderr, "scan: not built yet\n");
    return 1;
}

int BenchLocate(const std::vector<std::string>&) {
    std::fprintf(stderr, "locate: not built yet\n");
    return 1;
}

int BenchRefs(const std::vector<std::string>&) {
    std::fprintf(stderr, "refs: not built yet\n");
    return 1;
}

}  // namespace bw::bench
