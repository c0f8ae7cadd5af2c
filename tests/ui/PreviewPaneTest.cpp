#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <QLabel>
#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/DriveMap.h"
#include "platform/FileSystem.h"
#include "support/ParamNames.h"
#include "support/ResourceForkWriter.h"
#include "support/TestDir.h"
#include "support/WindowFixture.h"
#include "ui/PreviewPane.h"

namespace bw {
namespace {

using namespace std::chrono_literals;
using test::TestDir;
using test::WaitFor;

QString InfoOf(const PreviewPane& pane) {
    return pane.findChild<QLabel*>("lblPreviewInfo")->text();
}

PreviewRequest FileRequest(const std::string& name) {
    return {PreviewKind::Image, "Z:\\" + name, name};
}

// A decoder that takes its time, as a 4096-pixel texture does, and records what it was given.
struct SlowDecoder {
    std::mutex mutex;
    std::vector<std::string> decoded;
    std::atomic<int> started{0};
    PreviewLoader::Work Work() {
        return [this](const PreviewJob& job, const std::function<bool()>&) {
            ++started;
            std::this_thread::sleep_for(150ms);
            std::lock_guard lock(mutex);
            decoded.push_back(job.request.name);
            return PreviewResult{QImage(8, 8, QImage::Format_RGB32),
                                 QString::fromStdString(job.request.name)};
        };
    }
};

TEST(PreviewPane, TheNewestSelectionWinsAndOlderWorkIsDropped) {
    SlowDecoder decoder;
    PreviewPane pane(decoder.Work());
    int shown = 0;
    std::vector<QString> texts;
    QObject::connect(&pane, &PreviewPane::Shown, [&] {
        ++shown;
        texts.push_back(InfoOf(pane));
    });
    pane.ShowRequest(FileRequest("first.jpg"));
    ASSERT_TRUE(WaitFor([&] { return decoder.started == 1; }));
    // Key repeat: a row every ~30 ms while the first picture is still decoding.
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 20; ++i) pane.ShowRequest(FileRequest("row" + std::to_string(i) + ".jpg"));
    EXPECT_LT(std::chrono::steady_clock::now() - start, 50ms) << "selection waited for decoding";
    ASSERT_TRUE(WaitFor([&] { return shown == 1; }));
    EXPECT_EQ(InfoOf(pane), "row19.jpg");
    EXPECT_FALSE(pane.picture().isNull());
    // Nothing stale arrives later, and the rows passed over were never decoded.
    WaitFor([] { return false; }, 400);
    EXPECT_EQ(shown, 1);
    std::lock_guard lock(decoder.mutex);
    EXPECT_EQ(decoder.decoded, (std::vector<std::string>{"first.jpg", "row19.jpg"}));
}

TEST(PreviewPane, SelectingNothingDropsTheWorkInHand) {
    SlowDecoder decoder;
    PreviewPane pane(decoder.Work());
    pane.ShowRequest(FileRequest("a.jpg"));
    ASSERT_TRUE(WaitFor([&] { return decoder.started == 1; }));
    pane.ShowNode(nullptr);
    EXPECT_TRUE(InfoOf(pane).isEmpty());
    WaitFor([] { return false; }, 300);
    EXPECT_TRUE(InfoOf(pane).isEmpty());
    EXPECT_TRUE(pane.picture().isNull());
}

// What the pane shows for each kind of item, read from real files.
struct ShowCase {
    const char* what;
    std::vector<std::pair<std::string, std::string>> files;  // relative path, content ("PNG WxH")
    PreviewKind kind;
    std::string select;
    QSize picture;                  // invalid: no picture
    std::vector<const char*> info;  // lines that must appear
};

void PrintTo(const ShowCase& c, std::ostream* os) { *os << c.what; }

class PaneShows : public ::testing::TestWithParam<ShowCase> {};

std::string PngBytes(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes.toStdString();
}

TEST_P(PaneShows, TheFactsOfTheSelectedItem) {
    const ShowCase& c = GetParam();
    TestDir dir;
    for (const auto& [path, content] : c.files) {
        int w = 0, h = 0;
        if (std::sscanf(content.c_str(), "PNG %dx%d", &w, &h) == 2)
            dir.createFile(path, PngBytes(w, h));
        else if (content == "RSR")
            dir.createFile(path, test::MakeResourceFork({{"PICT", 128, test::QuadrantPict()}}));
        else
            dir.createFile(path, content);
    }
    dir.createDir("folder");
    FileSystem fs(DriveMap::FromDrives({}));
    PreviewPane pane(fs);
    pane.SetReferenceCounter([](const std::string& path) -> std::optional<int64_t> {
        return path.ends_with("counted.cr2") ? std::optional<int64_t>(3) : std::nullopt;
    });
    bool shown = false;
    QObject::connect(&pane, &PreviewPane::Shown, [&] { shown = true; });
    const std::string path = fs.WindowsPath(dir.host(c.select));
    pane.ShowRequest({c.kind, path, c.select});
    ASSERT_TRUE(WaitFor([&] { return shown; }));
    EXPECT_EQ(pane.picture().isNull() ? QSize() : pane.picture().size(), c.picture);
    const QString info = InfoOf(pane);
    for (const char* line : c.info)
        EXPECT_TRUE(info.contains(QString::fromUtf8(line))) << info.toStdString();
}

// The pane is not shown, so pictures fit the 256 × 256 box it uses before it is laid out.
// clang-format off
const ShowCase kShowCases[] = {
    {"LargeImage", {{"big.png", "PNG 1024x512"}}, PreviewKind::Image, "big.png", {256, 128},
     {"big.png", "1024 \u00d7 512 pixels", "bytes)"}},
    {"UnreadableImage", {{"bad.jpg", "not a jpeg"}}, PreviewKind::Image, "bad.jpg", {},
     {"Not a readable picture.", "10 bytes"}},
    {"LibraryWithPng", {{"dog.cr2", "{}"}, {"dog.png", "PNG 91x91"}, {"dog.rsr", "RSR"}},
     PreviewKind::Library, "dog.cr2", {182, 182}, {"Figure library file", "2 bytes"}},
    {"LibraryWithBrokenPngFallsBackToRsr",
     {{"hat.pp2", "{}"}, {"hat.png", "junk"}, {"hat.rsr", "RSR"}},
     PreviewKind::Library, "hat.pp2", {32, 32}, {"Prop library file"}},
    {"LibraryWithoutThumbnail", {{"counted.cr2", "{}"}}, PreviewKind::Library, "counted.cr2", {},
     {"No thumbnail.", "3 references"}},
    {"Geometry", {{"m.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n"}}, PreviewKind::Geometry,
     "m.obj", {}, {"3 vertices, 1 face"}},
    {"Folder", {{"folder/a.cr2", ""}, {"folder/b.jpg", ""}, {"folder/sub/c", ""}},
     PreviewKind::Folder, "folder", {},
     {"1 sub-folder", "1 library file", "1 image file", "0 system files", "0 other files"}},
    {"OtherFile", {{"notes.txt", "hello"}}, PreviewKind::Other, "notes.txt", {},
     {"5 bytes", "Modified 20"}},
    {"GoneSinceListed", {}, PreviewKind::Other, "gone.txt", {}, {"This item is no longer there."}},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Items, PaneShows, ::testing::ValuesIn(kShowCases), test::ByWhat);

}  // namespace
}  // namespace bw
