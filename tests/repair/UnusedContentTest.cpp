#include <gtest/gtest.h>

#include <sstream>

#include "repair/RepairWorld.h"
#include "repair/UnusedContent.h"

namespace bw::repair {
namespace {

// Named in another letter case, named through a drive, a moved reference's one candidate and an
// ambiguous one's two all count as used; of the rest only images and geometries are listed.
TEST(UnusedContent, ListsWhatNoReferenceUsesOrWouldBeRepairedTo) {
    fixture::RepairWorld world;
    const auto found = FindUnusedContent(world.runtime, world.Check(false), world.drives);
    std::vector<std::string> paths;
    uint64_t total = 0;
    for (const auto& f : found.files) {
        paths.push_back(f.path.substr(world.runtime.size() + 1));
        EXPECT_EQ(f.size, fixture::RepairWorld::Size(paths.back()));
        total += f.size;
    }
    EXPECT_EQ(paths, (std::vector<std::string>{"Geometries/G/fig_old.obz", "Textures/Spare/a.jpeg",
                                               "Textures/Spare/b.TIFF", "Textures/unused.png",
                                               "textures/lower.gif"}));
    EXPECT_EQ(found.totalSize, total);
    EXPECT_EQ(found.unreadable, 0u);
}

TEST(UnusedContent, UnreadableLibraryFilesAreCountedAndCsvQuotes) {
    fixture::RepairWorld world;
    world.c.createFile("Poser4/Runtime/Textures/a,\"b\".jpg", "12");
    world.Library("Pose/Broken.pzz", "not gzip");
    const auto found = FindUnusedContent(world.runtime, world.Check(false), world.drives);
    EXPECT_EQ(found.unreadable, 1u);
    UnusedContent two{{found.files.front()}, 0, 0};
    for (const auto& f : found.files)
        if (f.path.find(',') != std::string::npos) two.files.push_back(f);
    std::ostringstream csv;
    WriteUnusedCsv(csv, two);
    EXPECT_EQ(csv.str(), "file,size\r\n" + world.At("Geometries/G/fig_old.obz") + ",24\r\n\"" +
                             world.At("Textures/a,\"\"b\"\".jpg") + "\",2\r\n");
}

}  // namespace
}  // namespace bw::repair
