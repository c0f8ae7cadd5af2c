#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <nlohmann/json.hpp>

#include "cli/CheckCommandLine.h"
#include "support/ParamNames.h"
#include "support/TestDir.h"

namespace bw::cli {
namespace {

struct Outcome {
    int exitCode = -1;
    std::string out;
};

std::string Quoted(const std::string& s) {
    std::string q = "'";
    for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

// C: is a temp folder holding Poser4/Runtime; the program runs with its own settings, Wine
// prefix and cache folder.
class CheckCommandLineTest : public ::testing::Test {
  protected:
    CheckCommandLineTest() {
        c.createFile("Poser4/Runtime/Textures/New/eyes.jpg");
        c.createFile("Poser4/Runtime/Textures/skin.jpg");
        c.createFile("Poser4/Runtime/Libraries/Pose/Set, One/Good.pz2",
                     "\ttextureMap :Runtime:Textures:skin.jpg\r\n");
        prefix.createDir("dosdevices");
        std::filesystem::create_directory_symlink(c.path(), prefix.host("dosdevices/c:"));
        ini = prefix.createFile("Brindlewood.ini", "[Folder]\r\nRuntime=C:\\Poser4\\Runtime\r\n");
    }

    void AddStaleFile() {
        c.createFile("Poser4/Runtime/Libraries/Pose/Stale.pz2",
                     "{\n\ttextureMap :Runtime:Textures:Old:eyes.jpg\n}\n");
    }

    Outcome Run(const std::string& args) {
        const std::string command = "env WINEPREFIX=" + Quoted(prefix.path()) +
                                    " BRINDLEWOOD_INI=" + Quoted(ini) +
                                    " XDG_CACHE_HOME=" + Quoted(prefix.host("cache")) +
                                    " XDG_DATA_HOME=" + Quoted(prefix.host("data")) + " " +
                                    BRINDLEWOOD_CHECK_EXE + " " + args + " 2>/dev/null";
        Outcome o;
        FILE* pipe = ::popen(command.c_str(), "r");
        if (!pipe) return o;
        char buffer[4096];
        for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
            o.out.append(buffer, n);
        const int status = ::pclose(pipe);
        o.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return o;
    }

    test::TestDir c, prefix;
    std::string ini;
};

TEST_F(CheckCommandLineTest, JsonRowsCarryEveryKey) {
    AddStaleFile();
    const auto o = Run("--json " + Quoted(c.host("Poser4/Runtime")));
    EXPECT_EQ(o.exitCode, kExitProblems);
    const auto rows = nlohmann::json::parse(o.out);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1],
              nlohmann::json({{"file", c.host("Poser4/Runtime/Libraries/Pose/Stale.pz2")},
                              {"line", 2},
                              {"keyword", "textureMap"},
                              {"reference", ":Runtime:Textures:Old:eyes.jpg"},
                              {"status", "moved"},
                              {"candidates", {c.host("Poser4/Runtime/Textures/New/eyes.jpg")}}}));
    EXPECT_EQ(rows[0]["status"], "ok");
}

TEST_F(CheckCommandLineTest, RuntimeFromTheSettingsOrAWindowsPath) {
    for (const char* args : {"--all", "'C:\\poser4\\runtime' --all", "--csv 'C:\\Poser4'"}) {
        const auto o = Run(args);
        EXPECT_EQ(o.exitCode, kExitClean) << args;
        EXPECT_NE(o.out.find("skin.jpg"), std::string::npos) << args << o.out;
    }
}

TEST_F(CheckCommandLineTest, CsvQuotesFieldsWithCommas) {
    const auto o = Run("--csv");
    EXPECT_EQ(o.out, "file,line,keyword,reference,status,candidates,reason\r\n\"" +
                         c.host("Poser4/Runtime/Libraries/Pose/Set, One/Good.pz2") +
                         "\",1,textureMap,:Runtime:Textures:skin.jpg,ok,,\r\n");
}

TEST_F(CheckCommandLineTest, NoCacheLeavesNoDatabase) {
    Run("--no-cache");
    EXPECT_FALSE(prefix.exists("cache/Brindlewood/library-check.sqlite"));
    Run("");
    EXPECT_TRUE(prefix.exists("cache/Brindlewood/library-check.sqlite"));
}

struct ExitCase {
    const char* what;
    const char* args;
    int exitCode;
};

class CheckExitCodes : public CheckCommandLineTest,
                       public ::testing::WithParamInterface<ExitCase> {};

TEST_P(CheckExitCodes, SayWhetherItRanAndWhatItFound) {
    c.createFile("Poser4/Other/Libraries/Readme.txt");
    c.createDir("Poser4/Empty");
    EXPECT_EQ(Run(GetParam().args).exitCode, GetParam().exitCode);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CheckExitCodes,
    ::testing::Values(ExitCase{"Clean", "", kExitClean}, ExitCase{"Help", "--help", kExitClean},
                      ExitCase{"FolderWithoutLibraries", "'C:\\Poser4\\Empty'", kExitFailed},
                      ExitCase{"LibrariesWithoutLibraryFiles", "'C:\\Poser4\\Other'", kExitClean},
                      ExitCase{"NoSuchFolder", "/nonexistent-bw", kExitFailed},
                      ExitCase{"UnknownDrive", "'Q:\\Runtime'", kExitFailed},
                      ExitCase{"UnknownOption", "--frobnicate", kExitFailed},
                      ExitCase{"TwoFormats", "--json --csv", kExitFailed},
                      ExitCase{"NothingToFix", "--fix", kExitClean},
                      ExitCase{"NothingToUndo", "--undo", kExitClean},
                      ExitCase{"DryRunAlone", "--dry-run", kExitFailed},
                      ExitCase{"FixAndUndo", "--fix --undo", kExitFailed},
                      ExitCase{"FixAsCsv", "--fix --csv", kExitFailed},
                      ExitCase{"UndoOfARuntime", "--undo 'C:\\Poser4'", kExitFailed},
                      ExitCase{"Unused", "--unused --csv", kExitClean},
                      ExitCase{"UnusedAndFix", "--unused --fix", kExitFailed}),
    test::ByWhat);

TEST_F(CheckCommandLineTest, ProblemsAndUnsetRuntimeChangeTheExitCode) {
    AddStaleFile();
    EXPECT_EQ(Run("").exitCode, kExitProblems);
    prefix.createFile("Brindlewood.ini", "[Folder]\r\nLastFolder=C:\\\r\n");
    EXPECT_EQ(Run("").exitCode, kExitFailed);
}

TEST_F(CheckCommandLineTest, DryRunPrintsTheDiffAndWritesNothing) {
    AddStaleFile();
    const std::string before = c.readBytes("Poser4/Runtime/Libraries/Pose/Stale.pz2");
    const auto o = Run("--fix --dry-run");
    EXPECT_EQ(o.exitCode, kExitClean);
    EXPECT_EQ(o.out,
              "--- a/Libraries/Pose/Stale.pz2\n+++ b/Libraries/Pose/Stale.pz2\n@@ -2 +2 @@\n"
              "-\ttextureMap :Runtime:Textures:Old:eyes.jpg\n"
              "+\ttextureMap \":Runtime:Textures:New:eyes.jpg\"\n");
    EXPECT_EQ(c.readBytes("Poser4/Runtime/Libraries/Pose/Stale.pz2"), before);
    EXPECT_FALSE(prefix.exists("data/Brindlewood/journal"));
}

// --fix, then --undo: the file comes back; a file edited in between is left and fails the undo.
TEST_F(CheckCommandLineTest, FixThenUndo) {
    AddStaleFile();
    const std::string stale = "Poser4/Runtime/Libraries/Pose/Stale.pz2";
    const std::string before = c.readBytes(stale);
    const auto fixed = Run("--fix --json");
    EXPECT_EQ(fixed.exitCode, kExitClean);
    EXPECT_EQ(
        nlohmann::json::parse(fixed.out),
        nlohmann::json::parse(R"([{"file":")" + c.host(stale) +
                              R"(","line":2,"old":":Runtime:Textures:Old:eyes.jpg",)"
                              R"("new":":Runtime:Textures:New:eyes.jpg","status":"repaired"}])"));
    EXPECT_EQ(c.readBytes("Poser4/Runtime/Libraries/Pose/Stale.bak"), before);
    EXPECT_EQ(Run("").exitCode, kExitClean);

    const auto undone = Run("--undo --json");
    EXPECT_EQ(undone.exitCode, kExitClean);
    EXPECT_EQ(nlohmann::json::parse(undone.out)["restored"], nlohmann::json({c.host(stale)}));
    EXPECT_EQ(c.readBytes(stale), before);

    Run("--fix");
    c.createFile(stale, "edited");
    const auto skipped = Run("--undo --json");
    EXPECT_EQ(skipped.exitCode, kExitProblems);
    EXPECT_EQ(nlohmann::json::parse(skipped.out)["skipped"][0]["reason"],
              "changed since the repair");
    EXPECT_EQ(c.readBytes(stale), "edited");
}

// The content nothing uses, as text and JSON (the CSV is the engine's own); a moved reference keeps
// its one candidate off the list.
TEST_F(CheckCommandLineTest, UnusedListsWhatNoLibraryFileUses) {
    AddStaleFile();
    c.createFile("Poser4/Runtime/Geometries/box.obj", "v 0 0 0\n");
    const std::string box = c.host("Poser4/Runtime/Geometries/box.obj");
    EXPECT_EQ(Run("--unused").out, box + "  8 bytes\n1 file, 8 bytes unused\n");
    EXPECT_EQ(nlohmann::json::parse(Run("--unused --json").out),
              nlohmann::json::parse(R"([{"file":")" + box + R"(","size":8}])"));
}

}  // namespace
}  // namespace bw::cli
