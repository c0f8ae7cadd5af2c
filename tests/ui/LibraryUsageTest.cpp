#include <filesystem>

#include "check/LibraryCheck.h"
#include "core/Desktop.h"
#include "support/AppFixture.h"
#include "ui/LibraryUsage.h"

namespace bw::test {
namespace {

// The sample library, checked once so that the cache knows who uses what.
class LibraryUsageTest : public AppFixture {
  protected:
    LibraryUsageTest() : usage(*app) {
        std::filesystem::copy(std::string(BRINDLEWOOD_EXAMPLES_DIR) + "/Poser4", c.host("Poser4"),
                              std::filesystem::copy_options::recursive);
        usage.cachePath = c.host("cache.sqlite");
        check::CheckOptions options;
        options.runtime = runtime;
        options.cachePath = usage.cachePath;
        options.drives = app->fs->driveMap();
        check::CheckObserver none;
        const std::atomic<bool> cancel{false};
        check::RunLibraryCheck(options, none, cancel);
        usage.repairChanges = [this](const std::vector<repair::ReferenceChange>& changes) {
            repaired = changes;
        };
    }
    const std::string runtime = c.host("Poser4/Runtime");
    LibraryUsage usage;
    std::vector<repair::ReferenceChange> repaired;
};

TEST_F(LibraryUsageTest, AnswersOnlyWhatAFreshIndexKnows) {
    const auto eyes = usage.UsersOf(runtime + "/Textures/Shared/Eyes.jpg");
    ASSERT_TRUE(eyes);
    EXPECT_GE(eyes->count, 1u);
    EXPECT_EQ(eyes->first.rfind("C:\\Poser4\\Runtime\\Libraries\\", 0), 0u) << eyes->first;
    EXPECT_EQ(usage.UsersOf(runtime + "/Textures/Old/chrome.jpg")->count, 0u);

    // A library file changed since the check: nothing is known for sure.
    std::filesystem::last_write_time(runtime + "/Libraries/character/Sample/Figure.cr2",
                                     std::filesystem::file_time_type::clock::now());
    EXPECT_FALSE(usage.UsersOf(runtime + "/Textures/Shared/Eyes.jpg"));
}

TEST_F(LibraryUsageTest, AMoveOfUsedContentOffersToUpdateItsReferences) {
    const std::string from = runtime + "/Textures/Shared", to = runtime + "/Textures/Common";
    // Nothing asked of a move that no library file cares about, nor of one out of the Runtime.
    EXPECT_FALSE(usage.PrepareMove(runtime + "/Textures/Old/chrome.jpg", runtime + "/chrome.jpg"));
    EXPECT_FALSE(usage.PrepareMove(from, c.host("Shared")));

    for (const int answer : {answer::kNo, answer::kYes}) {
        repaired.clear();
        const auto followUp = usage.PrepareMove(from, to);
        ASSERT_TRUE(followUp);
        std::filesystem::rename(from, to);
        desktop.msgAnswers = {answer};
        followUp();
        std::filesystem::rename(to, from);
        ASSERT_FALSE(desktop.msgBoxes.empty());
        EXPECT_EQ(desktop.msgBoxes.back().style, style::kYesNo);
        EXPECT_NE(desktop.msgBoxes.back().prompt.find(
                      " library files name what you moved. Update their references?"),
                  std::string::npos);
        EXPECT_EQ(repaired.empty(), answer == answer::kNo);
        for (const auto& change : repaired)
            EXPECT_EQ(change.newReference.rfind(":Runtime:Textures:Common:", 0), 0u)
                << change.newReference;
    }
}

}  // namespace
}  // namespace bw::test
