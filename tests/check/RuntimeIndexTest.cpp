#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "check/RuntimeIndex.h"
#include "support/TestDir.h"

namespace bw::check {
namespace {

// The walkers meet folders in any order; the library files come out in byte order of their
// paths all the same, where a folder's files fall between its sub-folders and where a name's
// '.' or '-' sorts before the '/' of a folder with the same beginning.
TEST(RuntimeIndex, LibraryFilesComeInByteOrderOfTheirPaths) {
    test::TestDir dir;
    const std::vector<std::string> expected = {
        "Libraries/Pose/A/z.pz2",  "Libraries/Pose/a-b.pz2", "Libraries/Pose/a.pz2",
        "Libraries/Pose/a/x.pz2",  "Libraries/Pose/a/y.pz2", "Libraries/Pose/a0/w.pz2",
        "Libraries/Pose/b.pz2",    "Libraries/Pose/c/d.pz2", "Libraries/Pose/c/d/e.pz2",
        "Libraries/Pose/c/d0.pz2", "Libraries/Props/p.pp2",
    };
    for (auto it = expected.rbegin(); it != expected.rend(); ++it)
        dir.createFile("Runtime/" + *it, "{\n}\n");
    const auto index = RuntimeIndex::Build(dir.host("Runtime"));
    std::vector<std::string> got;
    const size_t from = index.runtime().size() + 1;
    for (const auto& f : index.libraryFiles()) got.push_back(f.path.str().substr(from));
    EXPECT_EQ(got, expected);
}

}  // namespace
}  // namespace bw::check
