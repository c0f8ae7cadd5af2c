#include <gtest/gtest.h>

#include <optional>

#include "platform/Profile.h"
#include "support/TestDir.h"

namespace bw {
namespace {

using test::TestDir;

struct ReadCase {
    const char* name;
    std::optional<std::string> file;  // none: no file at all
    const char* section;
    const char* key;
    std::string expected;
};

class ProfileRead : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ProfileRead, AnswersAsTheClassicReader) {
    TestDir dir;
    const auto& c = GetParam();
    std::string path = dir.host("Brindlewood.ini");
    if (c.file) dir.createFile("Brindlewood.ini", *c.file);
    EXPECT_EQ(GetPrivateProfileString(c.section, c.key, "Z:\\dflt\\Brindlewood.ini", path), c.expected);
}

const std::string k60(60, 'x');

INSTANTIATE_TEST_SUITE_P(
    Cases, ProfileRead,
    ::testing::Values(
        ReadCase{"NoFileGivesDefault", std::nullopt, "Colors", "BackColor", "Z:\\dflt\\Brindlewood.ini"},
        ReadCase{"MissingKeyGivesDefault", "[Colors]\r\nTextColor=0\r\n", "Colors", "BackColor",
                 "Z:\\dflt\\Brindlewood.ini"},
        ReadCase{"KeyInOtherSectionIsNotSeen", "[Folder]\r\nBackColor=1\r\n", "Colors", "BackColor",
                 "Z:\\dflt\\Brindlewood.ini"},
        ReadCase{"SectionAndKeyIgnoreCase", "[colors]\r\nbackcolor=42\r\n", "Colors", "BackColor", "42"},
        ReadCase{"BlanksTrimmed", "[Colors]\r\n  BackColor =   7  \r\n", "Colors", "BackColor", "7"},
        ReadCase{"FirstOfTwoWins", "[A]\r\nk=1\r\nk=2\r\n", "A", "k", "1"},
        ReadCase{"LfOnlyFile", "[A]\nk=v\n", "A", "k", "v"},
        ReadCase{"EnclosingQuotesDropped", "[A]\r\nk=\"C:\\x y\"\r\n", "A", "k", "C:\\x y"},
        ReadCase{"CutTo49Characters", "[A]\r\nk=" + k60 + "\r\n", "A", "k", std::string(49, 'x')},
        ReadCase{"BinaryJunkIsNoSection", std::string("\x01\x02\xff[A\x00]\r\nk=1", 13), "A", "k", "Z:\\dflt\\Brindlewood.ini"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ProfileRead, DefaultIsCutToTheBufferToo) {
    TestDir dir;
    std::string longDefault = "Z:\\" + std::string(80, 'd');
    EXPECT_EQ(GetPrivateProfileString("A", "k", longDefault, dir.host("none.ini")), longDefault.substr(0, 49));
}

struct WriteCase {
    const char* name;
    const char* before;  // null: no file
    const char* section;
    const char* key;
    const char* value;
    const char* after;
};

class ProfileWrite : public ::testing::TestWithParam<WriteCase> {};

TEST_P(ProfileWrite, ChangesOnlyWhatItMust) {
    TestDir dir;
    const auto& c = GetParam();
    if (c.before) dir.createFile("s.ini", c.before);
    WritePrivateProfileString(c.section, c.key, c.value, dir.host("s.ini"));
    EXPECT_EQ(dir.readBytes("s.ini"), c.after);
    EXPECT_FALSE(dir.exists("s.ini.new"));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProfileWrite,
    ::testing::Values(
        WriteCase{"CreatesFileAndSection", nullptr, "Folder", "Runtime", "C:\\P\\Runtime",
                  "[Folder]\r\nRuntime=C:\\P\\Runtime\r\n"},
        WriteCase{"ReplacesKeyKeepsOtherLines", "[A]\r\nx=1\r\n; note  \r\nk=old\n[B]\r\nk=b\r\n", "A", "K", "new",
                  "[A]\r\nx=1\r\n; note  \r\nK=new\n[B]\r\nk=b\r\n"},
        WriteCase{"AddsKeyAtEndOfItsSection", "[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n", "a", "k", "v",
                  "[A]\r\nx=1\r\nk=v\r\n\r\n[B]\r\ny=2\r\n"},
        WriteCase{"AppendsMissingSection", "[A]\r\nx=1", "WindowSize", "frmMain_Left", "0",
                  "[A]\r\nx=1\r\n[WindowSize]\r\nfrmMain_Left=0\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace bw
