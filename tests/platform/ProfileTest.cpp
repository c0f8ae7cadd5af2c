#include <gtest/gtest.h>

#include <optional>
#include <tuple>

#include "platform/Profile.h"
#include "support/TestDir.h"

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

}  // namespace
}  // namespace bw
