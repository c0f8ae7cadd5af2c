#include <gtest/gtest.h>

#include <string>

#include "check/PathTable.h"

namespace bw::check {
namespace {

// Hashes are given, not worked out, so paths that collide, and growth past the first table, are
// both met: a path keeps its number, and two paths never share one.
TEST(PathTable, EachDistinctPathKeepsOneNumberWhateverTheHashes) {
    PathTable table;
    for (int round = 0; round < 2; ++round) {
        for (uint32_t i = 0; i < 5000; ++i) {
            const std::string path = ":Runtime:Textures:" + std::to_string(i) + ".jpg";
            const uint64_t hash = i % 3 == 0 ? 42 : PathHash(path);  // a third of them collide
            const auto [id, isNew] = table.Intern(path, hash);
            ASSERT_EQ(id, i);
            ASSERT_EQ(isNew, round == 0);
            ASSERT_EQ(table.path(id), path);
        }
    }
    EXPECT_EQ(table.size(), 5000u);
}

}  // namespace
}  // namespace bw::check
