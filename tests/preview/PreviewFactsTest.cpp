#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "platform/DriveMap.h"
#include "platform/FileSystem.h"
#include "platform/PlatformError.h"
#include "preview/FolderCounts.h"
#include "preview/ObjCounts.h"
#include "preview/ThumbnailCandidates.h"
#include "support/TestDir.h"
#include "support/Thrown.h"

namespace bw {
namespace {

using test::TestDir;

class PreviewFacts : public ::testing::Test {
  protected:
    std::string Win(const std::string& relative) const {
        return fs.WindowsPath(dir.host(relative));
    }
    TestDir dir;
    FileSystem fs{DriveMap::FromDrives({})};
};

TEST_F(PreviewFacts, ThumbnailsArePngThenRsrOfThoseThatExist) {
    using K = ThumbnailKind;
    // files beside dog.cr2 -> kinds in the order tried
    const std::tuple<std::vector<const char*>, std::vector<K>> cases[] = {
        {{"dog.png", "dog.rsr"}, {K::Png, K::Rsr}},
        {{"dog.rsr"}, {K::Rsr}},
        {{"dog.png"}, {K::Png}},
        {{}, {}},
        {{"dog.jpg", "cat.png", "dog.rsr.png"}, {}},
        {{"DOG.PNG"}, {K::Png}},  // content from Windows disks comes in any letter case
    };
    for (const auto& [files, kinds] : cases) {
        TestDir d;
        d.createFile("lib/dog.cr2", "{}");
        for (const char* f : files) d.createFile(std::string("lib/") + f, "x");
        const auto found = ThumbnailCandidates(fs, fs.WindowsPath(d.host("lib/dog.cr2")));
        std::vector<K> got;
        for (const Thumbnail& t : found) {
            got.push_back(t.kind);
            EXPECT_TRUE(fs.FileExists(t.path)) << t.path;
        }
        EXPECT_EQ(got, kinds) << (files.empty() ? "(none)" : files[0]);
    }
}

TEST_F(PreviewFacts, FolderCountsSortFilesAsTheTreeColoursThem) {
    for (const char* f : {"a.cr2", "b.PZ2", "c.obj", "d.jpg", "e.png", "f.dll", "g.EXE", "h.txt",
                          "readme", "sub1/x.cr2"})
        dir.createFile(f, "");
    dir.createDir("sub2");
    for (const std::string& path : {Win(""), Win("") + "\\"}) {
        const FolderCounts c = CountFolder(fs, path);
        EXPECT_EQ(std::vector<uint64_t>(
                      {c.subFolders, c.libraryFiles, c.imageFiles, c.systemFiles, c.otherFiles}),
                  std::vector<uint64_t>({2, 3, 2, 2, 2}));
    }
    EXPECT_EQ(test::ThrownNumber([&] { CountFolder(fs, Win("missing")); }), err::kPathNotFound);
}

TEST_F(PreviewFacts, ObjCountsVertexAndFaceLines) {
    // content -> vertices, faces
    const std::tuple<std::string, uint64_t, uint64_t> cases[] = {
        {"v 1 2 3\nvn 0 0 1\nvt 0 0\nf 1 2 3\n", 1, 1},
        {"v 1 2 3\r\nv 4 5 6\r\nf 1 2 3\r\n", 2, 1},
        {"v 1 2 3\rv 4 5 6\rf 1 2 3", 2, 1},
        {"v\t1 2 3\nf\t1 2 3\n", 1, 1},
        {"# v 1\n v 1\nv\nvx 1\nfo 1\ng f\n", 0, 0},
        {"", 0, 0},
        // A line that starts in one read block and goes on in the next.
        {"#" + std::string((1 << 20) - 3, 'x') + "\nv 1 2 3\nf 1\n", 1, 1},
    };
    for (const auto& [content, vertices, faces] : cases) {
        SCOPED_TRACE(content.substr(0, 20));
        dir.createFile("m.obj", content);
        const auto counts = CountObj(fs, Win("m.obj"));
        ASSERT_TRUE(counts);
        EXPECT_EQ(counts->vertices, vertices);
        EXPECT_EQ(counts->faces, faces);
    }
}

}  // namespace
}  // namespace bw
