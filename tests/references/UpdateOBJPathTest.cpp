#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "core/Classification.h"
#include "core/ReportError.h"
#include "platform/Text.h"
#include "references/FillFileInfo.h"
#include "references/FindReferencedFile.h"
#include "references/ReplacePlan.h"
#include "references/UpdateOBJPath.h"
#include "support/AppFixture.h"
#include "support/FailingFileSystem.h"
#include "support/ParamNames.h"

namespace bw {
namespace {

const std::string kOld = ":Runtime:Geometries:Sample:foo.obj";
const std::string kNew = "\":Runtime:Geometries:Other:foo.obj\"";

// A line is rewritten only where it holds the old reference as a whole path; the map and
// geometry cuts keep everything before the path.
TEST(ReplacePlan, RewritesByteExact) {
    const std::string a = "a.jpg", aNew = "\":Runtime:Textures:X:a.jpg\"";
    struct Case {
        std::string old, in, out;
    };
    const Case cases[] = {
        {kOld, "\t\ttextureMap :RUNTIME:geometries:Sample:foo.obj\n", "\t\ttextureMap " + kNew},
        {kOld, "\tfigureResFile " + kOld, "\tfigureResFile " + kNew},
        {kOld, "\t\tobjFileGeom 0 0 \"" + kOld + "\"", "\t\tobjFileGeom 0 0 " + kNew},
        {kOld, "  look at \"" + kOld + "\" now", "  look at " + kNew + " now"},
        {kOld, "x " + kOld + " bumpmap y", "x " + kNew + " bumpmap y"},
        // Another path that merely contains the old one stays as it is.
        {kOld, "bumpMap :X" + kOld + ".bak\r\n", "bumpMap :X" + kOld + ".bak"},
        {a, "\ttextureMap :Runtime:Textures:New:mega.jpg",
         "\ttextureMap :Runtime:Textures:New:mega.jpg"},
        {a, "name Ella.jpg stuff", "name Ella.jpg stuff"},
        {a, "a.jpg.bak a.jpgx xa.jpg", "a.jpg.bak a.jpgx xa.jpg"},
        // A bare name, quoted or not, at the line's start or between blanks.
        {a, "\ttextureMap A.JPG", "\ttextureMap " + aNew},
        {a, "bumpMap \"a.jpg\"", "bumpMap " + aNew},
        {a, "a.jpg", aNew},
        {a, "see \"a.jpg\", ella.jpg and\ta.jpg\tnow",
         "see " + aNew + ", ella.jpg and\t" + aNew + "\tnow"},
        {a, "name ella.jpg a.jpg", "name ella.jpg " + aNew},
        // A path ending in the name, with either separator, is replaced whole.
        {a, "copy :Old:a.jpg here", "copy " + aNew + " here"},
        {a, "copy \"C:\\Old\\a.jpg\" here", "copy " + aNew + " here"},
        {a, "\t\tbumpMap :Runtime:Textures:Old:a.jpg", "\t\tbumpMap " + aNew},
        // Where the listing cut the reference, even inside a word, that cut is kept.
        {":ball.obj", "customMaterial :Runtime:Geometries:props:ball.obj",
         "customMaterial :Runtime:Geometries:props" + kNew},
        {kOld, std::string("a \0b  \ncc\r\rdd\r\n", 15),
         std::string("a \0b  \r\ncc\r\n\r\ndd", 16)},
        {kOld, "", ""}};
    for (const auto& [old, in, out] : cases)
        EXPECT_EQ(RewriteReferences(in, old, old == a ? aNew : kNew),
                  out.empty() ? out : out + "\r\n")
            << in;
}

class UpdateOBJPathTest : public test::AppFixture {
  protected:
    UpdateOBJPathTest() : failing(test::InstallFailingFileSystem(*app)) {
        app->settings.Runtime = "C:\\Poser4\\Runtime";
        c.createFile("Poser4/Runtime/Geometries/Other/foo.obj", "v 1 2 3\n");
    }
    std::string at(const std::string& name) const { return std::string(kFolder) + name; }
    static std::string Figure(const std::string& ref) {
        return "{\r\nversion 4.01\r\n\tfigureResFile " + ref + "\r\n\t\tobjFileGeom 0 0 " + ref +
               "\r\n\t\ttextureMap :Runtime:Textures:skin.jpg\r\n}\r\n";
    }
    // Lists the file, locates its geometry and clicks the discrepancy; answers the file's node.
    Node* repair(const std::string& name = "Figure.cr2") {
        Node* file = expandTo("C:\\Poser4\\Runtime\\Libraries\\character\\Sample\\" + name);
        FillFileInfo(*app, *file);
        Node* scan = file->child(0)->child(0);
        FindReferencedFile(*app, *scan);
        app->CurrentNode = scan->child(0)->child(0);
        EXPECT_EQ(app->CurrentNode->tag(), tag::kDiscrepancy);
        UpdateOBJPath(*app);
        return file;
    }
    long filesLeft() const {
        return std::distance(std::filesystem::directory_iterator(onC(kFolder)), {});
    }
    static constexpr const char* kFolder = "Poser4/Runtime/Libraries/character/Sample/";
    const std::string original = Figure(kOld), repaired = Figure(kNew);
    test::FailingFileSystem* failing;  // owned by app
};

TEST_F(UpdateOBJPathTest, RepairsKeepsBackupAndShowsTheFileAgain) {
    c.createFile(at("Figure.cr2"), original);
    ::chmod(onC(at("Figure.cr2")).c_str(), 0444);
    Node* file = repair();
    // A read-only file ends up writable, and so does its backup.
    for (const char* name : {"Figure.bak", "Figure.cr2"})
        EXPECT_FALSE(app->fs->IsReadOnly("C:\\" + ReplaceAll(at(name), "/", "\\")));
    EXPECT_EQ(c.readBytes(at("Figure.cr2")), repaired);
    EXPECT_EQ(c.readBytes(at("Figure.bak")), original);
    EXPECT_EQ(filesLeft(), 2);
    EXPECT_EQ(file->childCount() == 1 ? file->child(0)->tag() : "", tag::kScanForFile);
    EXPECT_TRUE(file->expanded() && file->selected());
    EXPECT_EQ(desktop.Caption(),
              "Brindlewood: C:\\Poser4\\Runtime\\Libraries\\character\\Sample\\Figure.cr2");

    // A second repair, after the geometry moved again, replaces the backup by the first repair.
    std::filesystem::rename(onC("Poser4/Runtime/Geometries/Other"),
                            onC("Poser4/Runtime/Geometries/Third"));
    repair();
    EXPECT_EQ(c.readBytes(at("Figure.bak")), repaired);
    const std::string third = Figure("\":Runtime:Geometries:Third:foo.obj\"");
    EXPECT_EQ(c.readBytes(at("Figure.cr2")), third);

    // With backup off, a file of the user's named like a temporary file is left alone.
    app->settings.BackUpFigure = false;
    c.createFile(at("temp.cr2"), original);
    c.createFile(at("temp.cr2.new0~"), "user data");
    repair("temp.cr2");
    EXPECT_EQ(c.readBytes(at("temp.cr2")), third);
    EXPECT_EQ(c.readBytes(at("temp.cr2.new0~")), "user data");
    EXPECT_EQ(filesLeft(), 4);
}

TEST_F(UpdateOBJPathTest, AFolderNameWithALineEndIsRefusedAndTheFileKept) {
    c.createFile(at("Figure.cr2"), original);
    std::filesystem::rename(onC("Poser4/Runtime/Geometries/Other"),
                            onC("Poser4/Runtime/Geometries/Two\nLines"));
    repair();
    EXPECT_EQ(c.readBytes(at("Figure.cr2")), original);
    EXPECT_EQ(filesLeft(), 1);
    EXPECT_EQ(desktop.systemMessages.size() + desktop.msgBoxes.size(), 1u);
}

struct FailureCase {
    const char *what, *failOn;  // failOn: steps, "," between
    bool backUp = true;
};

class RepairFailure : public UpdateOBJPathTest,
                      public ::testing::WithParamInterface<FailureCase> {};

// Whatever step fails, the file keeps its contents under its name, the failure is reported and
// no temporary file is left (unless removing it is what fails).
TEST_P(RepairFailure, NothingIsLost) {
    const auto& p = GetParam();
    app->settings.BackUpFigure = p.backUp;
    c.createFile(at("Figure.cr2"), original);
    c.createFile(at("Figure.bak"), "older backup");
    for (const auto& step : Split(p.failOn, ',')) failing->failOn[step] = err::kDiskFull;
    Node* file = repair();
    EXPECT_EQ(c.readBytes(at("Figure.cr2")), original);
    EXPECT_EQ(c.readBytes(at("Figure.bak")),
              p.backUp && std::string(p.failOn) == "Replace2" ? original : "older backup");
    EXPECT_EQ(filesLeft(), EndsWith(p.failOn, "DeleteFile") ? 3 : 2);
    ASSERT_EQ(desktop.systemMessages.size() + desktop.msgBoxes.size(), 1u);
    EXPECT_EQ(desktop.systemMessages.at(0).prompt,
              GenericErrorText(61, "Disk full", "UpdateOBJPath"));
    EXPECT_EQ(file->child(0)->tag(), tag::kReferencedFile);  // the tree is not refreshed
    EXPECT_FALSE(desktop.busy());
}

const FailureCase kFailureCases[] = {
    {"Write", "WriteFile"},
    {"AfterWrite", "AfterWriteFile"},
    {"AfterWriteCleanupFails", "AfterWriteFile,DeleteFile"},
    {"Backup", "LinkOrCopyFile"},
    {"BackupRename", "Replace1"},
    {"FinalRename", "Replace2"},
    {"FinalRenameWithoutBackup", "Replace1", false},
};
INSTANTIATE_TEST_SUITE_P(Steps, RepairFailure, ::testing::ValuesIn(kFailureCases), test::ByWhat);

}  // namespace
}  // namespace bw
