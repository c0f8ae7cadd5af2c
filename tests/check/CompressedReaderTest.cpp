#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include "check/CheckTestSupport.h"
#include "check/CompressedReader.h"
#include "check/LibraryFileReader.h"
#include "support/ParamNames.h"
#include "support/TestDir.h"

namespace bw::check {
namespace {

// Collects what it is given, through a small window so that every loop turns many times.
class StringSink : public BlockSink {
  public:
    std::span<char> Space() override { return {window_, sizeof window_}; }
    void Commit(size_t count) override { bytes.append(window_, count); }
    std::string bytes;

  private:
    char window_[1000];
};

std::string Pseudorandom(size_t n) {
    std::string s(n, '\0');
    uint32_t x = 12345;
    for (auto& c : s) c = static_cast<char>((x = x * 1103515245 + 12345) >> 16);
    return s;
}

struct InflateCase {
    const char* what;
    std::string file;
    uint64_t cap;
    std::string reason;    // a part of the reason; empty: success
    std::string inflated;  // on success
};

class Inflate : public ::testing::TestWithParam<InflateCase> {};

TEST_P(Inflate, GivesTheDataOrSaysWhyNot) {
    test::TestDir dir;
    const std::string path = dir.createFile("f.crz", GetParam().file);
    const int fd = ::open(path.c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    StringSink sink;
    const std::string reason = InflateGzip(fd, GetParam().cap, sink);
    ::close(fd);
    if (GetParam().reason.empty()) {
        EXPECT_EQ(reason, "");
        EXPECT_EQ(sink.bytes, GetParam().inflated);
    } else {
        EXPECT_NE(reason.find(GetParam().reason), std::string::npos) << reason;
    }
}

const std::string kBig = Pseudorandom(300000);

INSTANTIATE_TEST_SUITE_P(
    Files, Inflate,
    ::testing::Values(
        InflateCase{"Good", fixture::Gzip(kBig), 1 << 20, "", kBig},
        InflateCase{"TwoMembers", fixture::Gzip("one\n") + fixture::Gzip("two\n"), 1 << 20, "",
                    "one\ntwo\n"},
        InflateCase{"Truncated", fixture::Gzip(kBig).substr(0, 150000), 1 << 20, "cut short", ""},
        InflateCase{"NotGzip", "figureResFile :Runtime:a.obj\n", 1 << 20, "not gzip", ""},
        InflateCase{"Empty", "", 1 << 20, "empty", ""},
        InflateCase{"DamagedBody",
                    [] {
                        std::string g = fixture::Gzip(kBig);
                        for (size_t i = 100; i < 200; ++i) g[i] = static_cast<char>(~g[i]);
                        return g;
                    }(),
                    1 << 20, "damaged", ""},
        InflateCase{"InflatesPastTheCap", fixture::Gzip(std::string(100000, 'a')), 50000,
                    "larger than", ""}),
    test::ByWhat);

TEST(ReadLibraryFile, PlainFileOverTheCapAndMissingFileAreRefused) {
    test::TestDir dir;
    StringSink sink;
    EXPECT_EQ(ReadLibraryFile(dir.createFile("a.cr2", "12345"), false, 5, sink), "");
    EXPECT_EQ(sink.bytes, "12345");
    EXPECT_NE(ReadLibraryFile(dir.createFile("b.cr2", "123456"), false, 5, sink).find("larger"),
              std::string::npos);
    EXPECT_EQ(ReadLibraryFile(dir.host("none.cr2"), false, 5, sink), "File not found");
}

TEST(LibraryFileNames, PoserExtensionsAndTheirCompressedForms) {
    for (const char* yes : {"a.cr2", "A.CR2", "b.pz2", "c.pp2", "d.hr2", "e.fc2", "f.hd2", "g.lt2",
                            "h.cm2", "i.pz3", "j.crz", "k.PZZ", "l.p2z", "m.mz5"})
        EXPECT_TRUE(IsLibraryFileName(yes)) << yes;
    for (const char* no : {"a.obj", "a.png", "a.rsr", "cr2", "a.cr2.bak", "a.mc6"})
        EXPECT_FALSE(IsLibraryFileName(no)) << no;
    EXPECT_TRUE(IsCompressedLibraryFileName("x.Hrz"));
    EXPECT_FALSE(IsCompressedLibraryFileName("x.hr2"));
}

}  // namespace
}  // namespace bw::check
