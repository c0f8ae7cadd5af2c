#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <tuple>

#include "core/MainWindowState.h"
#include "core/Settings.h"
#include "platform/PlatformError.h"
#include "support/AppFixture.h"

namespace bw {
namespace {

class LoadSettingsTest : public test::AppFixture {
  protected:
    // Loads the settings from this file text, or from no file at all.
    const Settings& Load(const std::optional<std::string>& text) {
        if (text) prefix.createFile("Brindlewood.ini", *text);
        LoadSettings(*app, app->settings.iniPath);
        return app->settings;
    }
};

TEST_F(LoadSettingsTest, NoFileOrADamagedOneIsReplacedByTheDefaults) {
    const std::optional<std::string> files[] = {
        std::nullopt, "[Colors]\r\nBackColor=beige\r\n[WindowSize]\r\nfrmMain_Left=300\r\n",
        std::string("\x00\x01\xfe\xff\x7f garbage\r\x00", 14)};
    for (const auto& file : files) {
        std::filesystem::remove(prefix.host("Brindlewood.ini.damaged"));
        const Settings& s = Load(file);
        EXPECT_EQ(prefix.readBytes("Brindlewood.ini"), kDefaultIniText);
        // What the damaged file held is kept beside it, not lost for good.
        if (file)
            EXPECT_EQ(prefix.readBytes("Brindlewood.ini.damaged"), *file);
        else
            EXPECT_FALSE(prefix.exists("Brindlewood.ini.damaged"));
        EXPECT_EQ(std::to_string(s.BackColor) + s.Runtime, "15136253C:\\");
        EXPECT_TRUE(s.ProtectSystemFilesFolders && s.ConfirmDelete && !s.StartInLastFolder);
        EXPECT_TRUE(desktop.msgBoxes.empty() && desktop.systemMessages.empty());
    }
}

TEST_F(LoadSettingsTest, PathsAreCheckedAsTheyAreRead) {
    const std::string longName = "A very long folder name that goes past forty-nine";
    for (const auto& dir : {"Poser4/RUNTIME", "Poser4/Content", "B/Runtime", "Runtime"})
        c.createDir(dir);
    c.createDir(longName + "/Runtime");
    using S = Settings;
    const std::tuple<std::string, std::string S::*, std::string> cases[] = {
        // lines after the [Colors] section, the field, its value
        // Runtime must exist and be named so.
        {"[Folder]\r\nRuntime=C:\\Poser4\\RUNTIME", &S::Runtime, "C:\\Poser4\\RUNTIME"},
        {"[Folder]\r\nRuntime=C:\\Poser4\\Content", &S::Runtime, "C:\\"},
        {"[Folder]\r\nRuntime=C:\\Gone\\Runtime", &S::Runtime, "C:\\"},
        {"[Folder]\r\nRuntime=C:\\A\\Runtime\r\n[Other]\r\nRuntime=C:\\B\\Runtime", &S::Runtime,
         "C:\\B\\Runtime"},  // the later line wins, whatever its section
        {"[Folder]\r\nRuntime=C:\\" + longName + "\\Runtime", &S::Runtime,
         "C:\\" + longName + "\\Runtime"},
        // LastFolder is read only along with StartInLastFolder.
        {"[Folder]\r\nLastFolder=C:\\Poser4\\", &S::LastFolder, "C:\\"},
        {"[Folder]\r\nLastFolder=C:\\Poser4\\\r\nStartInLastFolder=False", &S::LastFolder,
         "C:\\Poser4\\"},
        // BackPattern needs a lower-case extension within its first 49 characters.
        {"[AVSettings]\r\nBackPattern=C:\\pictures for the background of trees\\paper.bmp",
         &S::BackPattern, "C:\\pictures for the background of trees\\paper.bmp"},
        {"[AVSettings]\r\nBackPattern=C:\\pictures for the backgrounds of trees\\paper.bmp",
         &S::BackPattern, ""},  // cut inside ".bmp"
        {"[AVSettings]\r\nBackPattern=C:\\pics\\paper.JPG", &S::BackPattern, ""},
    };
    for (const auto& [lines, field, expected] : cases) {
        SCOPED_TRACE(lines);
        EXPECT_EQ(Load("[Colors]\r\nBackColor=1\r\n" + lines + "\r\n").*field, expected);
    }
}

TEST_F(LoadSettingsTest, AByteOrderMarkIsNoDamage) {
    const std::string text =
        "\xEF\xBB\xBFRuntime=C:\\Poser4\\Runtime\r\n[Colors]\r\nBackColor=12\r\n";
    c.createDir("Poser4/Runtime");
    const Settings& s = Load(text);
    EXPECT_EQ(prefix.readBytes("Brindlewood.ini"), text);
    EXPECT_EQ(std::to_string(s.BackColor) + " " + s.Runtime, "12 C:\\Poser4\\Runtime");
}

// A settings file whose folder is gone: every key reads as missing, the one failed write at start
// is told once, and the writes at exit fail without a box (the exit then ends quietly).
TEST_F(LoadSettingsTest, AVanishedFolderIsReportedOnce) {
    app->settings.iniPath = "C:\\gone\\Brindlewood.ini";
    const Settings& s = Load(std::nullopt);
    EXPECT_EQ(std::to_string(s.BackColor) + s.Runtime, "15136253C:\\");
    EXPECT_EQ(desktop.Shown(),
              "File System Error|0|The drive is not ready. Please insert a disk and try again.\n");
    EXPECT_TRUE(desktop.systemMessages.empty());
    desktop.msgBoxes.clear();
    app->settings.StartInLastFolder = true;
    app->CurrentNode = NodeHandle(expandTo("C:"));
    EXPECT_THROW(WritePlacement(*app, Placement{}), PlatformError);
    EXPECT_THROW(SaveLastFolder(*app), PlatformError);
    EXPECT_TRUE(desktop.msgBoxes.empty() && desktop.systemMessages.empty());
}

TEST(SettingsFilePath, ARelativeNameCountsFromTheCurrentFolder) {
    const char* old = std::getenv("BRINDLEWOOD_INI");
    const std::string saved = old ? old : "";
    for (const auto& [given, expected] :
         {std::pair<std::string, std::string>{"conf/../b.ini",
                                              std::filesystem::current_path() / "b.ini"},
          {"/etc/x/b.ini", "/etc/x/b.ini"}}) {
        ::setenv("BRINDLEWOOD_INI", given.c_str(), 1);
        EXPECT_EQ(DefaultIniHostPath(), expected);
    }
    old ? ::setenv("BRINDLEWOOD_INI", saved.c_str(), 1) : ::unsetenv("BRINDLEWOOD_INI");
}

TEST_F(LoadSettingsTest, ValuesPresentAbsentAndDamaged) {
    const Settings& s = Load(
        "[Colors]\r\nBackColor=-2147483633\r\nTextColor=4294967296\r\n[Folder]\r\n"
        "UseRelPathName=TRUE\r\n"
        "ProtectSystemFilesFolders=false\r\nConfirmDelete=0\r\nBackUpFigure=maybe\r\n"
        "[AVSettings]\r\nMoveFile=False\r\n");
    EXPECT_TRUE(s.UseRelPathName);
    EXPECT_FALSE(s.ProtectSystemFilesFolders || s.ConfirmDelete || s.MoveFile);
    EXPECT_TRUE(s.BackUpFigure);          // not a Boolean: the default
    EXPECT_EQ(s.BackColor, -2147483633);  // a system colour
    EXPECT_EQ(s.TextColor, 0);            // past 32 bits: the default
}

}  // namespace
}  // namespace bw
