#include <gtest/gtest.h>

#include <QImage>
#include <QPixmap>
#include <set>

#include "app/ImageList.h"

namespace bw {
namespace {

// Counts pixels that are more than faintly visible, so a blank or near-blank picture is caught.
int VisiblePixels(const QImage& img) {
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (qAlpha(img.pixel(x, y)) > 64) ++n;
    return n;
}

TEST(ImageList, EveryKeyHasAVisibleDistinct16PxPicture) {
    ImageList list;
    ASSERT_EQ(ImageList::Keys().size(), 28u);
    std::set<QByteArray> seen;
    for (const auto& key : ImageList::Keys()) {
        SCOPED_TRACE(key);
        ASSERT_TRUE(list.Has(key));
        const QPixmap p = list.Pixmap(key);
        ASSERT_EQ(p.size(), QSize(16, 16));
        const QImage img = p.toImage().convertToFormat(QImage::Format_ARGB32);
        EXPECT_GE(VisiblePixels(img), 20);
        // Two keys showing the same picture would be a mix-up in the resource files.
        const QByteArray bytes(reinterpret_cast<const char*>(img.constBits()), img.sizeInBytes());
        EXPECT_TRUE(seen.insert(bytes).second) << "same picture as another key";
    }
}

TEST(ImageList, UnknownKeysGiveANullPixmap) {
    ImageList list;
    for (const char* key : {"RamDisk", "", "back", "Back.png"})
        EXPECT_TRUE(!list.Has(key) && list.Pixmap(key).isNull()) << key;
}

TEST(ImageList, ToolbarAndApplicationPicturesLoad) {
    for (const char* key : {"Back", "Forward", "Refresh", "Cut", "Copy", "Paste", "Open", "Delete",
                            "Rename", "Print", "Exit"})
        EXPECT_EQ(QPixmap(QString(":/toolbar/%1.png").arg(key)).size(), QSize(24, 24)) << key;
    EXPECT_EQ(QPixmap(":/app/brindlewood.png").size(), QSize(48, 48));
}

}  // namespace
}  // namespace bw
