#include <gtest/gtest.h>

#include "app/Settings.h"
#include "support/AppFixture.h"

namespace bw {
namespace {

class LoadSettingsTest : public test::AppFixture {
protected:
    void writeIni(const std::string& text) { prefix.createFile("Brindlewood.ini", text); }
    std::string iniBytes() const { return prefix.readBytes("Brindlewood.ini"); }
    const Settings& load() {
        LoadSettings(*app, app->settings.iniPath);
        return app->settings;
    }
};

TEST_F(LoadSettingsTest, NoFileWritesTheDefaultTextAndTakesTheAbsentValues) {
    const Settings& s = load();
    EXPECT_EQ(iniBytes(), kDefaultIniText);
    EXPECT_EQ(s.BackColor, 15136253);
    EXPECT_EQ(s.ButtonColor, -2147483633);
    EXPECT_EQ(s.OtherFileColor, 8421504);
    EXPECT_TRUE(s.MoveFile);
    EXPECT_EQ(s.BackPattern, "");
    EXPECT_EQ(s.Runtime, "C:\\");
    EXPECT_EQ(s.LastFolder, "C:\\");
    EXPECT_FALSE(s.StartInLastFolder);
    EXPECT_FALSE(s.UseRelPathName);
    EXPECT_TRUE(s.ProtectSystemFilesFolders);
    EXPECT_TRUE(s.ConfirmDelete);
    EXPECT_TRUE(s.BackUpFigure);
    EXPECT_TRUE(desktop.msgBoxes.empty());
    EXPECT_TRUE(desktop.systemMessages.empty());
}

TEST_F(LoadSettingsTest, NonNumericBackColorReplacesTheWholeFile) {
    writeIni("[Colors]\r\nBackColor=beige\r\n[WindowSize]\r\nfrmMain_Left=300\r\n");
    load();
    EXPECT_EQ(iniBytes(), kDefaultIniText);
}

TEST_F(LoadSettingsTest, BinaryFileIsReplacedByTheDefault) {
    writeIni(std::string("\x00\x01\xfe\xff\x7f garbage\r\x00", 14));
    const Settings& s = load();
    EXPECT_EQ(iniBytes(), kDefaultIniText);
    EXPECT_EQ(s.Runtime, "C:\\");
}

struct RuntimeCase {
    const char* name;
    std::string folderLines;  // [Folder] lines (and anything else after [Colors])
    const char* makeDir;      // a folder to create on C:, or ""
    std::string expected;
};

class RuntimeSetting : public LoadSettingsTest, public ::testing::WithParamInterface<RuntimeCase> {};

TEST_P(RuntimeSetting, IsCheckedAtStart) {
    const auto& c = GetParam();
    if (*c.makeDir) this->c.createDir(c.makeDir);
    writeIni("[Colors]\r\nBackColor=1\r\n" + c.folderLines);
    EXPECT_EQ(load().Runtime, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RuntimeSetting,
    ::testing::Values(
        RuntimeCase{"ExistingRuntimeKept", "[Folder]\r\nRuntime=C:\\Poser4\\RUNTIME\r\n", "Poser4/RUNTIME",
                    "C:\\Poser4\\RUNTIME"},
        RuntimeCase{"FolderWithoutTheWordIsReset", "[Folder]\r\nRuntime=C:\\Poser4\\Content\r\n", "Poser4/Content",
                    "C:\\"},
        RuntimeCase{"MissingFolderIsReset", "[Folder]\r\nRuntime=C:\\Gone\\Runtime\r\n", "", "C:\\"},
        RuntimeCase{"LaterLineWinsWhateverTheSection",
                    "[Folder]\r\nRuntime=C:\\A\\Runtime\r\n[Other]\r\nRuntime=C:\\B\\Runtime\r\n", "B/Runtime",
                    "C:\\B\\Runtime"},
        RuntimeCase{"LongerThan49IsReadWhole",
                    "[Folder]\r\nRuntime=C:\\A very long folder name that goes past forty-nine\\Runtime\r\n",
                    "A very long folder name that goes past forty-nine/Runtime",
                    "C:\\A very long folder name that goes past forty-nine\\Runtime"},
        // A line that merely begins with the key is taken too, keeping its "=".
        RuntimeCase{"RuntimeXLineKeepsItsEquals", "[Folder]\r\nRuntimeX=C:\\Runtime\r\n", "", "C:\\"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(LoadSettingsTest, BackPatternNeedsALowerCaseExtensionAndAtMost49Characters) {
    struct {
        std::string value;
        std::string expected;
    } cases[] = {
        {"C:\\pics\\paper.jpg", "C:\\pics\\paper.jpg"},
        {"C:\\pics\\paper.JPG", ""},
        {"C:\\pics\\tile.gif", "C:\\pics\\tile.gif"},
        {"C:\\a folder whose name is quite long enough here\\paper.bmp", ""},  // cut before ".bmp"
    };
    for (const auto& c : cases) {
        writeIni("[Colors]\r\nBackColor=1\r\n[AVSettings]\r\nBackPattern=" + c.value + "\r\n");
        EXPECT_EQ(load().BackPattern, c.expected) << c.value;
    }
}

TEST_F(LoadSettingsTest, BooleansPresentAbsentAndDamaged) {
    writeIni(
        "[Colors]\r\nBackColor=1\r\nTextColor=not a colour\r\n[Folder]\r\nUseRelPathName=TRUE\r\n"
        "ProtectSystemFilesFolders=false\r\nConfirmDelete=0\r\nBackUpFigure=maybe\r\n[AVSettings]\r\nMoveFile=False\r\n");
    const Settings& s = load();
    EXPECT_TRUE(s.UseRelPathName);
    EXPECT_FALSE(s.ProtectSystemFilesFolders);
    EXPECT_FALSE(s.ConfirmDelete);
    EXPECT_TRUE(s.BackUpFigure);  // not a Boolean: the default
    EXPECT_FALSE(s.MoveFile);
    EXPECT_EQ(s.TextColor, 0);  // not a number: the default
}

TEST_F(LoadSettingsTest, LastFolderIsReadOnlyWithTheStartKey) {
    writeIni("[Colors]\r\nBackColor=1\r\n[Folder]\r\nLastFolder=C:\\Poser4\\\r\n");
    EXPECT_EQ(load().LastFolder, "C:\\");
    writeIni("[Colors]\r\nBackColor=1\r\n[Folder]\r\nLastFolder=C:\\Poser4\\\r\nStartInLastFolder=False\r\n");
    const Settings& s = load();
    EXPECT_EQ(s.LastFolder, "C:\\Poser4\\");
    EXPECT_FALSE(s.StartInLastFolder);
}

TEST(SettingsValues, NumericBooleanAndColorConversions) {
    EXPECT_TRUE(IsNumeric(" -12 "));
    EXPECT_TRUE(IsNumeric("1.5e3"));
    EXPECT_TRUE(IsNumeric("11280"));
    EXPECT_FALSE(IsNumeric("Z:\\x\\Brindlewood.ini"));
    EXPECT_FALSE(IsNumeric(""));
    EXPECT_FALSE(IsNumeric("1e"));
    EXPECT_TRUE(ToBoolean("tRuE", false));
    EXPECT_TRUE(ToBoolean("-1", false));
    EXPECT_FALSE(ToBoolean("0", true));
    EXPECT_TRUE(ToBoolean("yes", true));
    EXPECT_EQ(ToColor("-2147483633", 0), -2147483633);
    EXPECT_EQ(ToColor("4294967296", 7), 7);
}

}  // namespace
}  // namespace bw
