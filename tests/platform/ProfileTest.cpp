#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <tuple>

#include "platform/PlatformError.h"
#include "platform/Profile.h"
#include "support/TestDir.h"
#include "support/Thrown.h"

namespace bw {
namespace {

using test::TestDir;

TEST(Profile, ReadsAsTheClassicReader) {
    const std::string dflt = "Z:\\" + std::string(60, 'd'), cut = dflt.substr(0, 49);
    // file (none: no file at all), section, key -> value
    const std::tuple<std::optional<std::string>, const char*, const char*, std::string> cases[] = {
        {std::nullopt, "Colors", "BackColor", cut},
        {"[Colors]\r\nTextColor=0\r\n", "Colors", "BackColor", cut},
        {"[Folder]\r\nBackColor=1\r\n", "Colors", "BackColor", cut},  // other section; cut default
        {"[colors]\r\nbackcolor=42\r\n", "Colors", "BackColor", "42"},
        {"[Colors]\r\n  BackColor =   7  \r\n", "Colors", "BackColor", "7"},
        {"[A]\r\nk=1\r\nk=2\r\n", "A", "k", "1"},
        {"[A]\nk=v\n", "A", "k", "v"},
        {"[A]\r\nk=\"C:\\x y\"\r\n", "A", "k", "C:\\x y"},
        {"[A]\r\nk=" + std::string(60, 'x') + "\r\n", "A", "k", std::string(49, 'x')},
        {std::string("\x01\x02\xff[A\x00]\r\nk=1", 13), "A", "k", cut},  // junk is no section
        {"\xEF\xBB\xBF[Colors]\r\nBackColor=5\r\n", "Colors", "BackColor", "5"},  // UTF-8 mark
    };
    for (const auto& [file, section, key, expected] : cases) {
        SCOPED_TRACE(file.value_or("(no file)"));
        TestDir dir;
        if (file) dir.createFile("s.ini", *file);
        EXPECT_EQ(GetPrivateProfileString(section, key, dflt, dir.host("s.ini")), expected);
    }
}

TEST(Profile, WritesOnlyWhatItMust) {
    // before (null: no file), section, key, value -> after
    const std::tuple<const char*, const char*, const char*, const char*, const char*> cases[] = {
        {nullptr, "Folder", "Runtime", "C:\\P\\Runtime", "[Folder]\r\nRuntime=C:\\P\\Runtime\r\n"},
        {"[A]\r\nx=1\r\n; note  \r\nk=old\n[B]\r\nk=b\r\n", "A", "K", "new",
         "[A]\r\nx=1\r\n; note  \r\nK=new\n[B]\r\nk=b\r\n"},
        {"[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n", "a", "k", "v",
         "[A]\r\nx=1\r\nk=v\r\n\r\n[B]\r\ny=2\r\n"},
        {"[A]\r\nx=1", "WindowSize", "frmMain_Left", "0",
         "[A]\r\nx=1\r\n[WindowSize]\r\nfrmMain_Left=0\r\n"},
        {"\xEF\xBB\xBF[A]\r\nk=1\r\n", "A", "k", "2", "\xEF\xBB\xBF[A]\r\nk=2\r\n"},
    };
    for (const auto& [before, section, key, value, after] : cases) {
        SCOPED_TRACE(after);
        TestDir dir;
        if (before) dir.createFile("s.ini", before);
        WritePrivateProfileString(section, key, value, dir.host("s.ini"));
        EXPECT_EQ(dir.readBytes("s.ini"), after);
        EXPECT_FALSE(dir.exists("s.ini.new"));
    }
}

// Runtime and LastFolder are read from the last line that begins with the key, in any section:
// the write must land there too.
TEST(Profile, PathValuesAreWrittenWhereTheyAreReadBack) {
    // before -> after writing C:\\N
    const std::pair<const char*, const char*> table[] = {
        {"[Folder]\r\nRuntime=C:\\A\r\nLastFolder=C:\\\r\nRuntime=C:\\B\r\n",
         "[Folder]\r\nRuntime=C:\\N\r\nLastFolder=C:\\\r\nRuntime=C:\\N\r\n"},
        {"[Folder]\r\nRuntime=C:\\A\r\n[Other]\r\nRuntime=C:\\B\r\n",
         "[Folder]\r\nRuntime=C:\\N\r\n[Other]\r\nRuntime=C:\\N\r\n"},
        {"[Other]\r\nRuntime=C:\\B\r\n",
         "[Other]\r\nRuntime=C:\\B\r\n[Folder]\r\nRuntime=C:\\N\r\n"},  // the new line is last
        {"[Folder]\r\nRuntime=C:\\A\r\n", "[Folder]\r\nRuntime=C:\\N\r\n"},
    };
    for (const auto& [before, after] : table) {
        SCOPED_TRACE(before);
        TestDir dir;
        dir.createFile("s.ini", before);
        WritePrivateProfilePath("Folder", "Runtime", "C:\\N", dir.host("s.ini"));
        EXPECT_EQ(dir.readBytes("s.ini"), after);
    }
}

// A settings file kept elsewhere through a link stays a link; the change lands in its target.
TEST(Profile, ALinkedFileStaysALink) {
    for (const char* target : {"real/s.ini", "../real/s.ini"}) {
        SCOPED_TRACE(target);
        TestDir dir;
        dir.createFile("real/s.ini", "[A]\r\nk=1\r\n");
        dir.createDir("conf");
        const std::string link = dir.host("conf/s.ini");
        std::filesystem::create_symlink(target[0] == '.' ? std::string(target) : dir.host(target),
                                        link);
        WritePrivateProfileString("A", "k", "2", link);
        WriteProfileFile(link, "[A]\r\nk=3\r\n");
        EXPECT_TRUE(std::filesystem::is_symlink(link));
        EXPECT_EQ(dir.readBytes("real/s.ini"), "[A]\r\nk=3\r\n");
        EXPECT_FALSE(dir.exists("conf/s.ini.new") || dir.exists("real/s.ini.new"));
    }
}

// A line end would add lines of its own, such as a section and key of its choosing: refused, the
// file left as it was.
TEST(Profile, LineEndsAreNotWritten) {
    const std::string before = "[Folder]\r\nLastFolder=C:\\\r\n";
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"Folder", "LastFolder", "C:\\a\n[Colors]\nBackColor=1\\"},
        {"Folder", "LastFolder", "C:\\a\r"},
        {"Folder", "Last\r\nFolder", "C:\\"},
        {"Fol\nder", "LastFolder", "C:\\"},
    };
    for (const auto& [section, key, value] : cases) {
        for (auto write : {WritePrivateProfileString, WritePrivateProfilePath}) {
            SCOPED_TRACE(std::string(section) + "/" + key + "=" + value);
            TestDir dir;
            dir.createFile("s.ini", before);
            EXPECT_EQ(test::ThrownNumber([&] { write(section, key, value, dir.host("s.ini")); }),
                      err::kInvalidCall);
            EXPECT_EQ(dir.readBytes("s.ini"), before);
        }
    }
}

TEST(Profile, AMissingFolderIsPathNotFound) {
    TestDir dir;
    const std::string gone = dir.host("gone/s.ini");
    EXPECT_EQ(test::ThrownNumber([&] { WritePrivateProfileString("A", "k", "v", gone); }),
              err::kPathNotFound);
    EXPECT_EQ(test::ThrownNumber([&] { WriteProfileFile(gone, "x"); }), err::kPathNotFound);
}

}  // namespace
}  // namespace bw
