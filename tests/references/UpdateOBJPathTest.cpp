#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "app/ReportError.h"
#include "browser/Classification.h"
#include "platform/PlatformError.h"
#include "references/FillFileInfo.h"
#include "references/FindReferencedFile.h"
#include "references/ReferenceExtraction.h"
#include "references/ReplacePlan.h"
#include "references/UpdateOBJPath.h"
#include "support/AppFixture.h"

namespace bw {
namespace {

TEST(ReplacePlan, DerivedStrings) {
    EXPECT_EQ(NewReferenceFromLocation("Found in: C:\\Poser4\\RUNTIME\\Geometries\\Other\\foo.obj"),
              "\":RUNTIME:Geometries:Other:foo.obj\"");
    EXPECT_EQ(NewReferenceFromLocation("Found in: C:\\Other\\foo.obj"), "\"C::Other:foo.obj\"");
    EXPECT_EQ(BackupPathOf("C:\\a\\Figure.cr2"), "C:\\a\\Figure.bak");
}

struct RewriteCase {
    const char* name;
    std::string in;
    std::string out;
};

const std::string kOld = ":Runtime:Geometries:Sample:foo.obj";
const std::string kNew = "\":Runtime:Geometries:Other:foo.obj\"";

class Rewrite : public ::testing::TestWithParam<RewriteCase> {};

TEST_P(Rewrite, ByteExact) {
    EXPECT_EQ(RewriteReferences(GetParam().in, kOld, kNew), GetParam().out);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, Rewrite,
    ::testing::Values(
        RewriteCase{"MapLineKeepsTabs", "\t\ttextureMap :RUNTIME:geometries:Sample:foo.obj\n",
                    "\t\ttextureMap " + kNew + "\r\n"},
        RewriteCase{"LongerPathHoldingIt", "bumpMap :X" + kOld + ".bak\r\n",
                    "bumpMap " + kNew + "\r\n"},
        RewriteCase{"FigureLines",
                    "figureResFile " + kOld + "\n\tobjFileGeom 0 0 \"" + kOld + "\"\n",
                    "figureResFile " + kNew + "\r\n\tobjFileGeom 0 0 " + kNew + "\r\n"},
        RewriteCase{"OtherLineInPlace", "  look at \"" + kOld + "\" now",
                    "  look at " + kNew + " now\r\n"},
        RewriteCase{"MapAfterThePath", "x " + kOld + " bumpmap y", "x " + kNew + " bumpmap y\r\n"},
        RewriteCase{"UntouchedLinesByteForByte", std::string("a \0b  \ncc\r\rdd\r\n", 15),
                    std::string("a \0b  \r\ncc\r\n\r\ndd\r\n", 18)},
        RewriteCase{"EmptyFile", "", ""}),
    [](const auto& info) { return std::string(info.param.name); });

// A new listing cuts the new reference from the place the old one was cut.
TEST(ReplacePlan, ListingReadsTheNewReference) {
    for (const std::string& line :
         {"figureResFile " + kOld, "\tobjFileGeom 0 0 \"" + kOld + "\""}) {
        const std::string out = RewriteReferences(line, kOld, kNew);
        EXPECT_EQ(ReferenceReader().ReadLine(out.substr(0, out.size() - 2)), kNew) << line;
    }
    const std::string map =
        RewriteReferences("\ttextureMap \":T:a.jpg\"", ":T:a.jpg", "\":T:B:a.jpg\"");
    EXPECT_EQ(ReferenceReader().ReadLine(map.substr(0, map.size() - 2)), "\":T:B:a.jpg\"");
}

// Fails the chosen step of the file replacement.
class FailingFs : public FileSystem {
  public:
    using FileSystem::FileSystem;
    std::string failOn;
    int replaceCalls = 0, failReplaceCall = 0;
    bool failDelete = false;
    void Fail(const char* step) const {
        if (failOn == step) throw PlatformError::FromNumber(err::kDiskFull);
    }
    void WriteFile(const std::string& p, const std::string& b, bool sync) override {
        Fail("WriteFile");
        FileSystem::WriteFile(p, b, sync);
        Fail("AfterWriteFile");
    }
    void LinkOrCopyFile(const std::string& f, const std::string& t) override {
        Fail("LinkOrCopyFile");
        FileSystem::LinkOrCopyFile(f, t);
    }
    void Replace(const std::string& f, const std::string& t) override {
        if (++replaceCalls == failReplaceCall)
            throw PlatformError::FromNumber(err::kPermissionDenied);
        FileSystem::Replace(f, t);
    }
    void DeleteFile(const std::string& p) override {
        if (failDelete) throw PlatformError::FromNumber(err::kPermissionDenied);
        FileSystem::DeleteFile(p);
    }
};

class UpdateOBJPathTest : public test::AppFixture {
  protected:
    UpdateOBJPathTest() {
        app->settings.Runtime = "C:\\Poser4\\Runtime";
        auto fs = std::make_unique<FailingFs>(DriveMap::FromPrefix(prefix.path()));
        failing = fs.get();
        app->fs = std::move(fs);
        c.createFile("Poser4/Runtime/Geometries/Other/foo.obj", "v 1 2 3\n");
    }
    static constexpr const char* kFolder = "Poser4/Runtime/Libraries/character/Sample/";
    const std::string original = "{\r\nversion 4.01\r\n\tfigureResFile " + kOld +
                                 "\r\n\t\tobjFileGeom 0 0 " + kOld +
                                 "\r\n\t\ttextureMap :Runtime:Textures:skin.jpg\r\n}\r\n";
    const std::string repaired = "{\r\nversion 4.01\r\n\tfigureResFile " + kNew +
                                 "\r\n\t\tobjFileGeom 0 0 " + kNew +
                                 "\r\n\t\ttextureMap :Runtime:Textures:skin.jpg\r\n}\r\n";

    // Lists the file, locates its geometry and clicks the discrepancy; answers the file's node.
    Node* repair(const std::string& name = "Figure.cr2") {
        Node* file = expandTo("C:\\Poser4\\Runtime\\Libraries\\character\\Sample\\" + name);
        EXPECT_TRUE(file);
        if (!file) return nullptr;
        FillFileInfo(*app, *file);
        Node* scan = file->child(0)->child(0);
        FindReferencedFile(*app, *scan);
        app->CurrentNode = scan->child(0)->child(0);
        EXPECT_EQ(app->CurrentNode->tag(), tag::kDiscrepancy);
        UpdateOBJPath(*app);
        return file;
    }
    std::vector<std::string> folderNames() const {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(onC(kFolder)))
            names.push_back(e.path().filename());
        std::sort(names.begin(), names.end());
        return names;
    }
    FailingFs* failing = nullptr;
};

TEST_F(UpdateOBJPathTest, RepairsKeepsBackupAndShowsTheFileAgain) {
    c.createFile(std::string(kFolder) + "Figure.cr2", original);
    ::chmod(onC(std::string(kFolder) + "Figure.cr2").c_str(), 0444);
    Node* file = repair();
    // A read-only file ends up writable, and so does its backup.
    for (const char* name : {"Figure.bak", "Figure.cr2"})
        EXPECT_FALSE(app->fs->IsReadOnly("C:\\Poser4\\Runtime\\Libraries\\character\\Sample\\" +
                                         std::string(name)));
    EXPECT_EQ(c.readBytes(std::string(kFolder) + "Figure.cr2"), repaired);
    EXPECT_EQ(c.readBytes(std::string(kFolder) + "Figure.bak"), original);
    EXPECT_EQ(folderNames(), (std::vector<std::string>{"Figure.bak", "Figure.cr2"}));
    ASSERT_EQ(file->childCount(), 1u);
    EXPECT_EQ(file->child(0)->tag(), tag::kScanForFile);
    EXPECT_TRUE(file->expanded());
    EXPECT_TRUE(file->selected());
    EXPECT_EQ(desktop.Caption(),
              "Brindlewood: C:\\Poser4\\Runtime\\Libraries\\character\\Sample\\Figure.cr2");
    EXPECT_FALSE(desktop.busy());

    // A second repair, after the geometry moved again, replaces the backup by the first repair.
    std::filesystem::create_directories(onC("Poser4/Runtime/Geometries/Third"));
    std::filesystem::rename(onC("Poser4/Runtime/Geometries/Other/foo.obj"),
                            onC("Poser4/Runtime/Geometries/Third/foo.obj"));
    repair();
    EXPECT_EQ(c.readBytes(std::string(kFolder) + "Figure.bak"), repaired);
    EXPECT_NE(c.readBytes(std::string(kFolder) + "Figure.cr2")
                  .find("\tfigureResFile \":Runtime:Geometries:Third:foo.obj\"\r\n"),
              std::string::npos);
}

TEST_F(UpdateOBJPathTest, BackupOffAndAFileNamedTemp) {
    app->settings.BackUpFigure = false;
    c.createFile(std::string(kFolder) + "temp.cr2", original);
    c.createFile(std::string(kFolder) + "temp.cr2.new0~", "user data");
    repair("temp.cr2");
    EXPECT_EQ(c.readBytes(std::string(kFolder) + "temp.cr2"), repaired);
    EXPECT_EQ(c.readBytes(std::string(kFolder) + "temp.cr2.new0~"), "user data");
    EXPECT_EQ(folderNames(), (std::vector<std::string>{"temp.cr2", "temp.cr2.new0~"}));
}

struct FailureCase {
    const char* name;
    const char* failOn;
    int failReplaceCall;
    bool backUp;
    bool failDelete;
};

class RepairFailure : public UpdateOBJPathTest,
                      public ::testing::WithParamInterface<FailureCase> {};

// Whatever step fails, the file keeps its contents under its name, the failure is reported and
// no temporary file is left (unless removing it is what fails).
TEST_P(RepairFailure, NothingIsLost) {
    const auto& p = GetParam();
    app->settings.BackUpFigure = p.backUp;
    c.createFile(std::string(kFolder) + "Figure.cr2", original);
    c.createFile(std::string(kFolder) + "Figure.bak", "older backup");
    failing->failOn = p.failOn;
    failing->failReplaceCall = p.failReplaceCall;
    failing->failDelete = p.failDelete;
    Node* file = repair();
    EXPECT_EQ(c.readBytes(std::string(kFolder) + "Figure.cr2"), original);
    const bool backupMade = p.backUp && p.failReplaceCall == 2;
    EXPECT_EQ(c.readBytes(std::string(kFolder) + "Figure.bak"),
              backupMade ? original : "older backup");
    if (!p.failDelete) {
        EXPECT_EQ(folderNames(), (std::vector<std::string>{"Figure.bak", "Figure.cr2"}));
    }
    EXPECT_EQ(desktop.systemMessages.size() + desktop.msgBoxes.size(), 1u);
    if (!desktop.systemMessages.empty()) {
        EXPECT_EQ(desktop.systemMessages[0].prompt,
                  GenericErrorText(61, "Disk full", "UpdateOBJPath"));
    }
    EXPECT_EQ(file->child(0)->tag(), tag::kReferencedFile);  // the tree is not refreshed
    EXPECT_FALSE(desktop.busy());
}

INSTANTIATE_TEST_SUITE_P(
    Steps, RepairFailure,
    ::testing::Values(FailureCase{"Write", "WriteFile", 0, true, false},
                      FailureCase{"AfterWrite", "AfterWriteFile", 0, true, false},
                      FailureCase{"AfterWriteCleanupFails", "AfterWriteFile", 0, true, true},
                      FailureCase{"Backup", "LinkOrCopyFile", 0, true, false},
                      FailureCase{"BackupRename", "", 1, true, false},
                      FailureCase{"FinalRename", "", 2, true, false},
                      FailureCase{"FinalRenameWithoutBackup", "", 1, false, false}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace bw
